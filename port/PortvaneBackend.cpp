#include "port/PortvaneBackend.h"

#include "text/ProgramTexts.h"
#include "text/StringIds.h"

#include <cstring>
#include <vector>

namespace {

constexpr uint32_t SYSTEM_ERROR_ACCESS_DENIED = 5;
constexpr uint32_t SYSTEM_ERROR_BAD_EXE_FORMAT = 193;
constexpr uint32_t ERROR_INVALID_IMAGE_HASH = 577;
constexpr uint32_t IDENTIFICATION_BYTES = 512;

std::string WithCode(int textId, uint32_t code)
{
    const std::string text = ProgramText(textId);
    return code == 0 ? text + "." : ProgramText(IDS_WITH_ERROR_CODE, {text, std::to_string(code)});
}

} // namespace

CPortvaneBackend::CPortvaneBackend(IPortvaneSystem& system) : m_system(system), m_service(system) {}

CPortvaneBackend::~CPortvaneBackend()
{
    Close();
}

bool CPortvaneBackend::Open(std::string& error)
{
    Close();
    m_hDevice = IPortvaneSystem::NO_HANDLE;
    if (!m_system.IsNtFamily()) {
        error = ProgramText(IDS_DRIVER_NEEDS_NT);
        return false;
    }

    PrepareImagePath();
    if (!m_strImagePath.empty())
        m_service.ReconfigureService(m_strImagePath);
    WriteImage();
    m_hDevice = OpenDevice();
    RemoveImage();

    if (m_hDevice != IPortvaneSystem::NO_HANDLE)
        return true;
    error = DescribeOpenFailure();
    Close();
    return false;
}

void CPortvaneBackend::Close()
{
    if (m_hDevice != IPortvaneSystem::NO_HANDLE && m_system.ClosePortDevice(m_hDevice))
        m_hDevice = IPortvaneSystem::NO_HANDLE;
    if (m_bStartedService) {
        m_service.RemoveService();
        m_bStartedService = false;
    }
    RemoveImage();
}

IPortvaneSystem::Handle CPortvaneBackend::OpenDevice()
{
    m_bStartedService = false;
    m_dwDeviceError = 0;
    auto device = m_system.OpenPortDevice(PORTVANE_USER_DEVICE_PATH);
    if (device != IPortvaneSystem::NO_HANDLE)
        return device; // already running: this run leaves the service alone
    if (m_strImagePath.empty())
        return device; // there is no image the service could load

    m_service.InstallService(m_strImagePath);
    device = m_system.OpenPortDevice(PORTVANE_USER_DEVICE_PATH);
    if (device == IPortvaneSystem::NO_HANDLE)
        m_dwDeviceError = m_system.LastErrorCode();
    // Also after a failed open: whatever InstallService created is ours to remove.
    m_bStartedService = true;
    return device;
}

void CPortvaneBackend::PrepareImagePath()
{
    m_strImagePath.clear();
    m_strFolder.clear();
    const auto folder = m_system.CreatePrivateFolder();
    if (!folder) {
        m_imageState = ImageState::NoFolder;
        return;
    }
    m_strFolder = *folder;
    const std::string path = m_strFolder + "\\" + IMAGE_FILE_NAME;
    if (path.size() > MAX_IMAGE_PATH_BYTES) {
        m_imageState = ImageState::PathTooLong;
        m_system.RemovePrivateFolder(m_strFolder);
        m_strFolder.clear();
        return;
    }
    m_strImagePath = path;
}

void CPortvaneBackend::WriteImage()
{
    if (m_strImagePath.empty())
        return;
    const auto image = m_system.LoadDriverImage();
    if (!image || image->empty()) {
        m_imageState = ImageState::NoResource;
        return;
    }
    m_imageState = m_system.WriteImageFile(m_strImagePath, *image) ? ImageState::Written
                                                                    : ImageState::WriteFailed;
}

void CPortvaneBackend::RemoveImage()
{
    // Also after a failed write, which may have left part of a file.
    if (!m_strImagePath.empty())
        m_system.DeleteImageFile(m_strImagePath);
    // A driver that runs from the image can keep it from being deleted; then
    // both are tried again once Close has stopped the service.
    if (!m_strFolder.empty() && !m_system.RemovePrivateFolder(m_strFolder))
        return;
    m_strImagePath.clear();
    m_strFolder.clear();
}

std::string CPortvaneBackend::DescribeOpenFailure() const
{
    switch (m_imageState) {
    case ImageState::NoFolder:
        return ProgramText(IDS_DRIVER_NO_FOLDER);
    case ImageState::PathTooLong:
        return ProgramText(IDS_DRIVER_PATH_TOO_LONG);
    case ImageState::NoResource:
        return ProgramText(IDS_DRIVER_NOT_CARRIED);
    case ImageState::WriteFailed:
        return ProgramText(IDS_DRIVER_NOT_WRITTEN);
    case ImageState::Written:
        break;
    }
    const uint32_t code = m_service.GetLastErrorCode();
    switch (m_service.GetLastFailure()) {
    case CPortvaneService::Failure::ManagerDenied:
        if (code == SYSTEM_ERROR_ACCESS_DENIED)
            return ProgramText(IDS_DRIVER_NEEDS_ADMIN);
        return WithCode(IDS_DRIVER_NO_MANAGER, code);
    case CPortvaneService::Failure::CreateFailed:
        return WithCode(IDS_DRIVER_NOT_REGISTERED, code);
    case CPortvaneService::Failure::StartFailed:
        if (code == SYSTEM_ERROR_BAD_EXE_FORMAT)
            return ProgramText(IDS_DRIVER_WRONG_BUILD);
        if (code == ERROR_INVALID_IMAGE_HASH)
            return ProgramText(IDS_DRIVER_NOT_SIGNED);
        return WithCode(IDS_DRIVER_NOT_STARTED, code);
    case CPortvaneService::Failure::None:
        break;
    }
    return WithCode(IDS_DRIVER_NO_DEVICE, m_dwDeviceError);
}

bool CPortvaneBackend::Transact(uint32_t code)
{
    uint32_t returned = 0;
    return m_system.ControlPortDevice(m_hDevice, code, &m_request, PORTIO_REQUEST_SIZE, PORTIO_REQUEST_SIZE,
                                      returned) &&
           returned == PORTIO_REQUEST_SIZE;
}

uint8_t CPortvaneBackend::ReadByte(uint16_t port)
{
    if (m_hDevice == IPortvaneSystem::NO_HANDLE)
        return 0;
    // A failed request goes unnoticed here (the value is what the record
    // still holds); the cable layer sees a dead port through its own time-outs.
    return ReadByteChecked(port).value_or(ValueByte());
}

std::optional<uint8_t> CPortvaneBackend::ReadByteChecked(uint16_t port)
{
    if (m_hDevice == IPortvaneSystem::NO_HANDLE)
        return std::nullopt;
    m_request.Port = port;
    if (!Transact(IOCTL_PORTIO_READ_UCHAR))
        return std::nullopt;
    return ValueByte();
}

uint8_t CPortvaneBackend::ValueByte() const
{
    uint8_t value = 0;
    std::memcpy(&value, reinterpret_cast<const uint8_t*>(&m_request) + PORTIO_VALUE_OFFSET, 1);
    return value;
}

void CPortvaneBackend::WriteByte(uint16_t port, uint8_t value)
{
    if (m_hDevice == IPortvaneSystem::NO_HANDLE)
        return;
    m_request.Port = port;
    std::memcpy(reinterpret_cast<uint8_t*>(&m_request) + PORTIO_VALUE_OFFSET, &value, 1);
    Transact(IOCTL_PORTIO_WRITE_UCHAR);
}

std::optional<std::string> CPortvaneBackend::ReadIdentification()
{
    if (m_hDevice == IPortvaneSystem::NO_HANDLE)
        return std::nullopt;
    std::vector<char> text(IDENTIFICATION_BYTES, '\0');
    uint32_t returned = 0;
    if (!m_system.ControlPortDevice(m_hDevice, IOCTL_PORTIO_INFO, text.data(), 0, IDENTIFICATION_BYTES,
                                    returned))
        return std::nullopt;
    text.back() = '\0';
    return std::string(text.data());
}
