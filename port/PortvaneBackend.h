#pragma once

#include "driver/PortioRequest.h"
#include "port/PortBackend.h"
#include "port/PortvaneService.h"
#include "port/PortvaneSystem.h"

#include <cstdint>
#include <optional>
#include <string>

// The Windows way to the port: the Portvane kernel driver, carried in the
// program's resources, installed as a service for as long as the port is
// open, and asked for every register access with one device-control request.
class CPortvaneBackend final : public IPortBackend {
public:
    static constexpr const char* IMAGE_FILE_NAME = "Portvane.sys";
    // Windows' plain file calls refuse longer paths; measured in UTF-8 bytes,
    // which are never fewer than the path's UTF-16 units.
    static constexpr size_t MAX_IMAGE_PATH_BYTES = 259;

    explicit CPortvaneBackend(IPortvaneSystem& system);
    ~CPortvaneBackend() override;

    CPortvaneBackend(const CPortvaneBackend&) = delete;
    CPortvaneBackend& operator=(const CPortvaneBackend&) = delete;

    // Re-points a left-over service, writes the image, opens the device
    // (installing and starting the service when needed) and deletes the image
    // again, whether or not the device opened. On failure nothing this run
    // installed is left behind.
    bool Open(std::string& error) override;
    // Closes the device and, if this run started the service, removes it,
    // then the image if the running driver kept it from being deleted before.
    void Close() override;

    uint8_t ReadByte(uint16_t port) override;
    void WriteByte(uint16_t port, uint8_t value) override;

    // The open driver's identification text.
    std::optional<std::string> ReadIdentification();
    // One register read that tells a failed request from a value: nothing
    // when the driver refused the request or returned no value.
    std::optional<uint8_t> ReadByteChecked(uint16_t port);

    // The device step of Open: opens the device, or installs and starts the
    // service and opens it again. Sets the started-service flag, which is 1
    // after any install attempt, even when the second open fails.
    IPortvaneSystem::Handle OpenDevice();
    bool HasStartedService() const { return m_bStartedService; }
    bool IsDeviceOpen() const { return m_hDevice != IPortvaneSystem::NO_HANDLE; }

private:
    enum class ImageState { NoResource, NoFolder, PathTooLong, WriteFailed, Written };

    void PrepareImagePath();
    void WriteImage();
    void RemoveImage();
    std::string DescribeOpenFailure() const;
    // One request with the record; true when the driver answered with a whole record.
    bool Transact(uint32_t code);
    // The value byte of the record, as the last request left it.
    uint8_t ValueByte() const;

    IPortvaneSystem& m_system;
    CPortvaneService m_service;
    IPortvaneSystem::Handle m_hDevice = IPortvaneSystem::NO_HANDLE;
    bool m_bStartedService = false;
    // The one record every register access sends and receives.
    PORTIO_REQUEST m_request{};
    std::string m_strFolder;
    std::string m_strImagePath;
    ImageState m_imageState = ImageState::NoFolder;
    uint32_t m_dwDeviceError = 0;
};
