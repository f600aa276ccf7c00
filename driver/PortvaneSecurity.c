/* The security routines are declared with the file-system kit; it must come
 * before any other kernel header. */
#include <ntifs.h>

#include "driver/PortvaneSecurity.h"

/* Room for an access list of two entries with the two well-known
 * identifiers (12 and 16 bytes): 8 + (8 + 12) + (8 + 16) = 52 bytes. */
#define PORTVANE_ACL_BYTES 128u

static NTSTATUS BuildAdminsOnlyAcl(PACL acl, ULONG size)
{
    NTSTATUS status = RtlCreateAcl(acl, size, ACL_REVISION);
    if (!NT_SUCCESS(status))
        return status;
    status = RtlAddAccessAllowedAce(acl, ACL_REVISION, FILE_ALL_ACCESS, SeExports->SeLocalSystemSid);
    if (!NT_SUCCESS(status))
        return status;
    return RtlAddAccessAllowedAce(acl, ACL_REVISION, FILE_ALL_ACCESS, SeExports->SeAliasAdminsSid);
}

NTSTATUS PortvaneRestrictAccess(PDEVICE_OBJECT device)
{
    ULONG aclBuffer[PORTVANE_ACL_BYTES / sizeof(ULONG)];
    PACL acl = (PACL)aclBuffer;
    SECURITY_DESCRIPTOR descriptor;
    HANDLE handle;
    NTSTATUS status;

    status = BuildAdminsOnlyAcl(acl, sizeof aclBuffer);
    if (!NT_SUCCESS(status))
        return status;
    status = RtlCreateSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    if (!NT_SUCCESS(status))
        return status;
    status = RtlSetDaclSecurityDescriptor(&descriptor, TRUE, acl, FALSE);
    if (!NT_SUCCESS(status))
        return status;

    status = ObOpenObjectByPointer(device, OBJ_KERNEL_HANDLE, NULL, WRITE_DAC, NULL, KernelMode, &handle);
    if (!NT_SUCCESS(status))
        return status;
    status = ZwSetSecurityObject(handle, DACL_SECURITY_INFORMATION, &descriptor);
    ZwClose(handle);
    return status;
}
