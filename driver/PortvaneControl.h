#ifndef PORTVANE_CONTROL_H
#define PORTVANE_CONTROL_H

/* The device-control requests of the Portvane driver, apart from the I/O
 * manager's request packets so that the same code runs in tests. */

#include <ntddk.h>

/* Moves bytes between the driver and the memory of the calling process,
 * returning a failure status, never faulting, when the caller's range is not
 * its own, readable (Read) or writable (Write). */
typedef struct PORTVANE_CALLER_MEMORY {
    NTSTATUS (*Read)(void* context, ULONG address, void* destination, ULONG length);
    NTSTATUS (*Write)(void* context, ULONG address, const void* source, ULONG length);
    void* Context;
} PORTVANE_CALLER_MEMORY;

/* The identification text answered to IOCTL_PORTIO_INFO, with its zero. */
extern const char PortvaneIdentification[];
ULONG PortvaneIdentificationSize(void);

/* Serves one request whose record (for buffered transfer, max(input, output)
 * bytes long) is `systemBuffer`. Without `callerMemory` the buffer codes are
 * refused as not supported. `*information` receives the byte count to copy
 * back to the caller. */
NTSTATUS PortvaneControl(ULONG code, PUCHAR systemBuffer, ULONG inputLength, ULONG outputLength,
                         const PORTVANE_CALLER_MEMORY* callerMemory, ULONG_PTR* information);

#endif
