#ifndef FAKE_NTDDK_H
#define FAKE_NTDDK_H

/* A small stand-in for the kernel kit, just enough for the Portvane driver's
 * sources to build on the test host. The routines record what the driver
 * asks of the system (FakeKernel.h); the types keep the Windows widths. */

#include <stddef.h>
#include <stdint.h>
#include <string.h>

#ifdef __cplusplus
extern "C" {
#endif

#define NTAPI
#define VOID void
#define TRUE 1
#define FALSE 0
#define UNREFERENCED_PARAMETER(p) ((void)(p))

typedef uint8_t UCHAR, *PUCHAR, BOOLEAN;
typedef uint16_t USHORT, *PUSHORT, WCHAR, *PWSTR;
typedef const WCHAR* PCWSTR;
typedef uint32_t ULONG, *PULONG;
typedef uint64_t ULONGLONG;
typedef uintptr_t ULONG_PTR;
typedef int32_t NTSTATUS;
typedef void* PVOID;
typedef void* HANDLE;
typedef ULONG ACCESS_MASK;
typedef char CCHAR;

#define NT_SUCCESS(status) ((NTSTATUS)(status) >= 0)
#define STATUS_SUCCESS ((NTSTATUS)0x00000000)
#define STATUS_ACCESS_VIOLATION ((NTSTATUS)0xC0000005)
#define STATUS_INVALID_PARAMETER ((NTSTATUS)0xC000000D)
#define STATUS_INVALID_DEVICE_REQUEST ((NTSTATUS)0xC0000010)
#define STATUS_BUFFER_TOO_SMALL ((NTSTATUS)0xC0000023)
#define STATUS_OBJECT_NAME_COLLISION ((NTSTATUS)0xC0000035)
#define STATUS_INSUFFICIENT_RESOURCES ((NTSTATUS)0xC000009A)
#define STATUS_NOT_SUPPORTED ((NTSTATUS)0xC00000BB)
#define STATUS_PRIVILEGED_INSTRUCTION ((NTSTATUS)0xC0000096)

#define RtlCopyMemory(d, s, n) memcpy((d), (s), (n))
#define RtlZeroMemory(d, n) memset((d), 0, (n))

UCHAR READ_PORT_UCHAR(PUCHAR port);
USHORT READ_PORT_USHORT(PUSHORT port);
ULONG READ_PORT_ULONG(PULONG port);
VOID WRITE_PORT_UCHAR(PUCHAR port, UCHAR value);
VOID WRITE_PORT_USHORT(PUSHORT port, USHORT value);
VOID WRITE_PORT_ULONG(PULONG port, ULONG value);

typedef struct _UNICODE_STRING {
    USHORT Length;
    USHORT MaximumLength;
    PWSTR Buffer;
} UNICODE_STRING, *PUNICODE_STRING;

VOID RtlInitUnicodeString(PUNICODE_STRING destination, PCWSTR source);

typedef struct _IO_STATUS_BLOCK {
    NTSTATUS Status;
    ULONG_PTR Information;
} IO_STATUS_BLOCK;

typedef struct _IO_STACK_LOCATION {
    UCHAR MajorFunction;
    union {
        struct {
            ULONG OutputBufferLength;
            ULONG InputBufferLength;
            ULONG IoControlCode;
            PVOID Type3InputBuffer;
        } DeviceIoControl;
    } Parameters;
} IO_STACK_LOCATION, *PIO_STACK_LOCATION;

typedef struct _IRP {
    IO_STATUS_BLOCK IoStatus;
    union {
        PVOID SystemBuffer;
    } AssociatedIrp;
    PIO_STACK_LOCATION FakeCurrentStackLocation;
} IRP, *PIRP;

#define IoGetCurrentIrpStackLocation(irp) ((irp)->FakeCurrentStackLocation)
#define IO_NO_INCREMENT 0
VOID IoCompleteRequest(PIRP irp, CCHAR priorityBoost);

struct _DRIVER_OBJECT;
typedef struct _DEVICE_OBJECT {
    struct _DRIVER_OBJECT* DriverObject;
    ULONG DeviceType;
    ULONG Characteristics;
} DEVICE_OBJECT, *PDEVICE_OBJECT;

typedef NTSTATUS (*PDRIVER_DISPATCH)(PDEVICE_OBJECT device, PIRP irp);
typedef VOID (*PDRIVER_UNLOAD)(struct _DRIVER_OBJECT* driver);

#define IRP_MJ_CREATE 0x00
#define IRP_MJ_CLOSE 0x02
#define IRP_MJ_DEVICE_CONTROL 0x0e
#define IRP_MJ_MAXIMUM_FUNCTION 0x1b

typedef struct _DRIVER_OBJECT {
    PDEVICE_OBJECT DeviceObject;
    PDRIVER_UNLOAD DriverUnload;
    PDRIVER_DISPATCH MajorFunction[IRP_MJ_MAXIMUM_FUNCTION + 1];
} DRIVER_OBJECT, *PDRIVER_OBJECT;

#define FILE_DEVICE_SECURE_OPEN 0x00000100

NTSTATUS IoCreateDevice(PDRIVER_OBJECT driver, ULONG extensionSize, PUNICODE_STRING name,
                        ULONG type, ULONG characteristics, BOOLEAN exclusive, PDEVICE_OBJECT* device);
VOID IoDeleteDevice(PDEVICE_OBJECT device);
NTSTATUS IoCreateSymbolicLink(PUNICODE_STRING link, PUNICODE_STRING target);
NTSTATUS IoDeleteSymbolicLink(PUNICODE_STRING link);

#ifdef __cplusplus
}
#endif

#endif
