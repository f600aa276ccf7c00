#include "FakeKernel.h"

extern "C" {
#include "driver/PortvanePrivilege.h"
}

#include <cstddef>
#include <cstring>
#include <string>

namespace {

FakeKernel g_kernel;

struct StoredAce {
    ACCESS_MASK mask;
    PSID sid;
};

// The driver's access-list buffer need not be aligned for a pointer.
StoredAce LoadAce(const ACL* acl, USHORT index)
{
    StoredAce ace;
    std::memcpy(&ace, reinterpret_cast<const unsigned char*>(acl + 1) + index * sizeof ace, sizeof ace);
    return ace;
}

void StoreAce(ACL* acl, USHORT index, const StoredAce& ace)
{
    std::memcpy(reinterpret_cast<unsigned char*>(acl + 1) + index * sizeof ace, &ace, sizeof ace);
}

// The identifier's header, as the kernel reads it from possibly unaligned memory.
SID SidHeader(PSID sid)
{
    SID header{};
    std::memcpy(&header, sid, offsetof(SID, SubAuthority));
    return header;
}

// Bytes the real entry would take: header, mask and the identifier.
ULONG RealAceSize(PSID sid)
{
    return 8 + 8 + 4u * SidHeader(sid).SubAuthorityCount;
}

// As the kernel's own check: revision 1 and at most 15 sub-authorities.
bool IsValidSid(PSID sid)
{
    const SID header = SidHeader(sid);
    return sid != nullptr && header.Revision == SID_REVISION && header.SubAuthorityCount <= 15;
}

// "S-1-5-32-544" and the like.
std::string SidText(PSID sid)
{
    const SID header = SidHeader(sid);
    uint64_t authority = 0;
    for (UCHAR byte : header.IdentifierAuthority.Value)
        authority = authority << 8 | byte;
    std::string text = "S";
    for (uint64_t part : {uint64_t{header.Revision}, authority}) {
        text += '-';
        text += std::to_string(part);
    }
    for (UCHAR i = 0; i < header.SubAuthorityCount; ++i) {
        ULONG part = 0;
        std::memcpy(&part, static_cast<const unsigned char*>(sid) + offsetof(SID, SubAuthority) + 4u * i, 4);
        text += '-';
        text += std::to_string(part);
    }
    return text;
}

uint32_t Read(uint16_t port, unsigned width)
{
    uint32_t value = g_kernel.onRead ? g_kernel.onRead(port, width) : 0x44332211u;
    if (width < 4)
        value &= (1u << (8 * width)) - 1;
    g_kernel.ports.push_back({false, width, port, value});
    return value;
}

void Write(uint16_t port, unsigned width, uint32_t value)
{
    g_kernel.ports.push_back({true, width, port, value});
    if (g_kernel.onWrite)
        g_kernel.onWrite(port, width, value);
}

uint16_t PortOf(const void* address)
{
    return static_cast<uint16_t>(reinterpret_cast<uintptr_t>(address));
}

} // namespace

void FakeKernel::Reset()
{
    g_kernel = FakeKernel{};
}

FakeKernel& Fake()
{
    return g_kernel;
}

std::string Narrow(const UNICODE_STRING& text)
{
    std::string out;
    for (USHORT i = 0; i < text.Length / 2; ++i)
        out += static_cast<char>(text.Buffer[i]);
    return out;
}

extern "C" {

BOOLEAN PortvaneMayAccessPorts(void) { return g_kernel.bKernelMode; }

UCHAR READ_PORT_UCHAR(PUCHAR port) { return static_cast<UCHAR>(Read(PortOf(port), 1)); }
USHORT READ_PORT_USHORT(PUSHORT port) { return static_cast<USHORT>(Read(PortOf(port), 2)); }
ULONG READ_PORT_ULONG(PULONG port) { return Read(PortOf(port), 4); }
VOID WRITE_PORT_UCHAR(PUCHAR port, UCHAR value) { Write(PortOf(port), 1, value); }
VOID WRITE_PORT_USHORT(PUSHORT port, USHORT value) { Write(PortOf(port), 2, value); }
VOID WRITE_PORT_ULONG(PULONG port, ULONG value) { Write(PortOf(port), 4, value); }

VOID RtlInitUnicodeString(PUNICODE_STRING destination, PCWSTR source)
{
    USHORT n = 0;
    while (source[n])
        ++n;
    destination->Length = static_cast<USHORT>(n * 2);
    destination->MaximumLength = static_cast<USHORT>(n * 2 + 2);
    destination->Buffer = const_cast<PWSTR>(source);
}

VOID IoCompleteRequest(PIRP irp, CCHAR priorityBoost)
{
    g_kernel.calls.push_back("IoCompleteRequest");
    g_kernel.completed.push_back(irp);
    g_kernel.lastBoost = priorityBoost;
}

NTSTATUS IoCreateDevice(PDRIVER_OBJECT driver, ULONG extensionSize, PUNICODE_STRING name,
                        ULONG type, ULONG characteristics, BOOLEAN exclusive, PDEVICE_OBJECT* device)
{
    g_kernel.calls.push_back("IoCreateDevice " + Narrow(*name));
    if (!NT_SUCCESS(g_kernel.createDeviceStatus))
        return g_kernel.createDeviceStatus;
    g_kernel.device = DEVICE_OBJECT{driver, type, characteristics};
    g_kernel.extensionSize = extensionSize;
    g_kernel.bExclusive = exclusive;
    g_kernel.bDeviceExists = true;
    driver->DeviceObject = &g_kernel.device;
    *device = &g_kernel.device;
    return STATUS_SUCCESS;
}

VOID IoDeleteDevice(PDEVICE_OBJECT device)
{
    g_kernel.calls.push_back(device == &g_kernel.device ? "IoDeleteDevice" : "IoDeleteDevice ?");
    g_kernel.bDeviceExists = false;
}

NTSTATUS IoCreateSymbolicLink(PUNICODE_STRING link, PUNICODE_STRING target)
{
    g_kernel.calls.push_back("IoCreateSymbolicLink " + Narrow(*link) + " -> " + Narrow(*target));
    if (!NT_SUCCESS(g_kernel.createLinkStatus))
        return g_kernel.createLinkStatus;
    g_kernel.bLinkExists = true;
    return STATUS_SUCCESS;
}

NTSTATUS IoDeleteSymbolicLink(PUNICODE_STRING link)
{
    g_kernel.calls.push_back("IoDeleteSymbolicLink " + Narrow(*link));
    g_kernel.bLinkExists = false;
    return STATUS_SUCCESS;
}

NTSTATUS RtlCreateAcl(PACL acl, ULONG length, ULONG revision)
{
    if (length < sizeof(ACL))
        return STATUS_BUFFER_TOO_SMALL;
    *acl = ACL{static_cast<UCHAR>(revision), 0, static_cast<USHORT>(length), 0, 0};
    return STATUS_SUCCESS;
}

NTSTATUS RtlAddAccessAllowedAce(PACL acl, ULONG revision, ACCESS_MASK mask, PSID sid)
{
    if (revision != acl->AclRevision)
        return STATUS_INVALID_PARAMETER;
    if (!IsValidSid(sid))
        return STATUS_INVALID_SID;
    ULONG used = sizeof(ACL);
    for (USHORT i = 0; i < acl->AceCount; ++i)
        used += RealAceSize(LoadAce(acl, i).sid);
    const ULONG stored = sizeof(ACL) + (acl->AceCount + 1u) * sizeof(StoredAce);
    if (used + RealAceSize(sid) > acl->AclSize || stored > acl->AclSize)
        return STATUS_BUFFER_TOO_SMALL;
    StoreAce(acl, acl->AceCount, StoredAce{mask, sid});
    ++acl->AceCount;
    return STATUS_SUCCESS;
}

NTSTATUS RtlCreateSecurityDescriptor(PSECURITY_DESCRIPTOR descriptor, ULONG revision)
{
    *descriptor = SECURITY_DESCRIPTOR{static_cast<UCHAR>(revision), 0, 0, nullptr};
    return STATUS_SUCCESS;
}

NTSTATUS RtlSetDaclSecurityDescriptor(PSECURITY_DESCRIPTOR descriptor, BOOLEAN present, PACL dacl,
                                      BOOLEAN defaulted)
{
    descriptor->DaclPresent = present;
    descriptor->Dacl = dacl;
    descriptor->DaclDefaulted = defaulted;
    return STATUS_SUCCESS;
}

NTSTATUS ObOpenObjectByPointer(PVOID object, ULONG attributes, PACCESS_STATE, ACCESS_MASK access,
                               POBJECT_TYPE, KPROCESSOR_MODE mode, HANDLE* handle)
{
    g_kernel.calls.push_back(std::string("ObOpenObjectByPointer") +
                             (object == &g_kernel.device ? " device" : " ?") +
                             ((attributes & OBJ_KERNEL_HANDLE) ? " kernel-handle" : "") +
                             ((access & WRITE_DAC) ? " write-dac" : "") +
                             (mode == KernelMode ? " kernel-mode" : ""));
    if (!NT_SUCCESS(g_kernel.openObjectStatus))
        return g_kernel.openObjectStatus;
    ++g_kernel.openHandles;
    *handle = &g_kernel.device;
    return STATUS_SUCCESS;
}

NTSTATUS ZwSetSecurityObject(HANDLE handle, SECURITY_INFORMATION information,
                             PSECURITY_DESCRIPTOR descriptor)
{
    g_kernel.calls.push_back(std::string("ZwSetSecurityObject") +
                             ((information & DACL_SECURITY_INFORMATION) ? " dacl" : ""));
    if (handle != &g_kernel.device || !NT_SUCCESS(g_kernel.setSecurityStatus))
        return NT_SUCCESS(g_kernel.setSecurityStatus) ? STATUS_INVALID_PARAMETER
                                                      : g_kernel.setSecurityStatus;
    g_kernel.bDaclSet = descriptor->DaclPresent && descriptor->Dacl != nullptr;
    g_kernel.dacl.clear();
    if (g_kernel.bDaclSet) {
        for (USHORT i = 0; i < descriptor->Dacl->AceCount; ++i) {
            const StoredAce ace = LoadAce(descriptor->Dacl, i);
            g_kernel.dacl.push_back({ace.mask, SidText(ace.sid)});
        }
    }
    return STATUS_SUCCESS;
}

NTSTATUS ZwClose(HANDLE)
{
    g_kernel.calls.push_back("ZwClose");
    --g_kernel.openHandles;
    return STATUS_SUCCESS;
}

} // extern "C"
