#ifndef FAKE_NTIFS_H
#define FAKE_NTIFS_H

/* The security part of the stand-in kernel kit (see ntddk.h here). */

#include "ntddk.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Security identifiers as the kernel lays them out. */
typedef struct _SID_IDENTIFIER_AUTHORITY {
    UCHAR Value[6];
} SID_IDENTIFIER_AUTHORITY;

typedef struct _SID {
    UCHAR Revision;
    UCHAR SubAuthorityCount;
    SID_IDENTIFIER_AUTHORITY IdentifierAuthority;
    ULONG SubAuthority[1];
} SID, *PISID;
typedef PVOID PSID;

#define SID_REVISION 1
#define SECURITY_NT_AUTHORITY {0, 0, 0, 0, 0, 5}
#define SECURITY_LOCAL_SYSTEM_RID 0x00000012L
#define SECURITY_BUILTIN_DOMAIN_RID 0x00000020L
#define DOMAIN_ALIAS_RID_ADMINS 0x00000220L
#define STATUS_INVALID_SID ((NTSTATUS)0xC0000078)

typedef struct _ACL {
    UCHAR AclRevision;
    UCHAR Sbz1;
    USHORT AclSize;
    USHORT AceCount;
    USHORT Sbz2;
} ACL, *PACL;

typedef struct _SECURITY_DESCRIPTOR {
    UCHAR Revision;
    BOOLEAN DaclPresent;
    BOOLEAN DaclDefaulted;
    PACL Dacl;
} SECURITY_DESCRIPTOR, *PSECURITY_DESCRIPTOR;

typedef enum _MODE { KernelMode, UserMode } KPROCESSOR_MODE;
typedef ULONG SECURITY_INFORMATION;
typedef PVOID POBJECT_TYPE, PACCESS_STATE;

#define ACL_REVISION 2
#define SECURITY_DESCRIPTOR_REVISION 1
#define FILE_ALL_ACCESS 0x001F01FF
#define WRITE_DAC 0x00040000
#define OBJ_KERNEL_HANDLE 0x00000200
#define DACL_SECURITY_INFORMATION 0x00000004

NTSTATUS RtlCreateAcl(PACL acl, ULONG length, ULONG revision);
NTSTATUS RtlAddAccessAllowedAce(PACL acl, ULONG revision, ACCESS_MASK mask, PSID sid);
NTSTATUS RtlCreateSecurityDescriptor(PSECURITY_DESCRIPTOR descriptor, ULONG revision);
NTSTATUS RtlSetDaclSecurityDescriptor(PSECURITY_DESCRIPTOR descriptor, BOOLEAN present, PACL dacl,
                                      BOOLEAN defaulted);
NTSTATUS ObOpenObjectByPointer(PVOID object, ULONG attributes, PACCESS_STATE state,
                               ACCESS_MASK access, POBJECT_TYPE type, KPROCESSOR_MODE mode,
                               HANDLE* handle);
NTSTATUS ZwSetSecurityObject(HANDLE handle, SECURITY_INFORMATION information,
                             PSECURITY_DESCRIPTOR descriptor);
NTSTATUS ZwClose(HANDLE handle);

#ifdef __cplusplus
}
#endif

#endif
