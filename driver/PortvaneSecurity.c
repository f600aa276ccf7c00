/* The security routines are declared with the file-system kit; it must come
 * before any other kernel header. */
#include <ntifs.h>

#include "driver/PortvaneSecurity.h"

/* Room for an access list of two entries with the two well-known
 * identifiers (12 and 16 bytes): 8 + (8 + 12) + (8 + 16) = 52 bytes. */
#define PORTVANE_ACL_BYTES 128u

/* A security identifier with room for two sub-authorities, laid out as the
 * kernel's own. The two the driver needs are built here rather than taken
 * from the kernel's exported table, which not every kernel fills in. */
typedef struct _PORTVANE_SID {
    UCHAR Revision;
    UCHAR SubAuthorityCount;
    SID_IDENTIFIER_AUTHORITY IdentifierAuthority;
    ULONG SubAuthority[2];
} PORTVANE_SID;

/* S-1-5-18, the local system. */
static const PORTVANE_SID g_localSystemSid = {
    SID_REVISION, 1, {SECURITY_NT_AUTHORITY}, {SECURITY_LOCAL_SYSTEM_RID, 0}};
/* S-1-5-32-544, the local administrators. */
static const PORTVANE_SID g_administratorsSid = {
    SID_REVISION, 2, {SECURITY_NT_AUTHORITY}, {SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS}};

static NTSTATUS BuildAdminsOnlyAcl(PACL acl, ULONG size)
{
    NTSTATUS status = RtlCreateAcl(acl, size, ACL_REVISION);
    if (!NT_SUCCESS(status))
        return status;
    /* The entries copy the identifiers; the kernel never writes through them. */
    status = RtlAddAccessAllowedAce(acl, ACL_REVISION, FILE_ALL_ACCESS, (PSID)&g_localSystemSid);
    if (!NT_SUCCESS(status))
        return status;
    return RtlAddAccessAllowedAce(acl, ACL_REVISION, FILE_ALL_ACCESS, (PSID)&g_administratorsSid);
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
