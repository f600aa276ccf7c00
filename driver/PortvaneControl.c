#include "driver/PortvaneControl.h"

#include "driver/PortioRequest.h"
#include "driver/PortvanePrivilege.h"

#ifndef PORTVANE_BUILD_STAMP
#define PORTVANE_BUILD_STAMP __TIMESTAMP__
#endif

const char PortvaneIdentification[] =
    "Portvane Driver (sys)\n"
    "Processor I/O port access for the Vantrel 92 calculator link\n"
    "Part of Vantrel 92\n"
    "(Built " PORTVANE_BUILD_STAMP ")";

ULONG PortvaneIdentificationSize(void)
{
    return (ULONG)sizeof PortvaneIdentification;
}

/* Elements move between the caller and the port through this many bytes of
 * stack at a time; kernel stacks are small. */
#define PORTVANE_CHUNK_BYTES 64u

static ULONG LoadLittleEndian(const UCHAR* bytes, ULONG width)
{
    ULONG value = 0;
    ULONG i;
    for (i = 0; i < width; ++i)
        value |= (ULONG)bytes[i] << (8 * i);
    return value;
}

/* Stores only the `width` low bytes of `value`, leaving the rest as they were. */
static void StoreLittleEndian(UCHAR* bytes, ULONG value, ULONG width)
{
    ULONG i;
    for (i = 0; i < width; ++i)
        bytes[i] = (UCHAR)(value >> (8 * i));
}

static PUCHAR PortAddress(USHORT port)
{
    return (PUCHAR)(ULONG_PTR)port;
}

static void WritePort(USHORT port, ULONG value, ULONG width)
{
    switch (width) {
    case 1:
        WRITE_PORT_UCHAR(PortAddress(port), (UCHAR)value);
        break;
    case 2:
        WRITE_PORT_USHORT((PUSHORT)PortAddress(port), (USHORT)value);
        break;
    default:
        WRITE_PORT_ULONG((PULONG)PortAddress(port), value);
        break;
    }
}

static ULONG ReadPort(USHORT port, ULONG width)
{
    switch (width) {
    case 1:
        return READ_PORT_UCHAR(PortAddress(port));
    case 2:
        return READ_PORT_USHORT((PUSHORT)PortAddress(port));
    default:
        return READ_PORT_ULONG((PULONG)PortAddress(port));
    }
}

/* The element width of a port code (0 for the reserved code), whether it
 * reads and whether it moves a buffer. */
typedef struct PORT_OPERATION {
    ULONG width;
    BOOLEAN isRead;
    BOOLEAN isBuffer;
} PORT_OPERATION;

static PORT_OPERATION DescribePortCode(ULONG code)
{
    PORT_OPERATION op = {0, FALSE, FALSE};
    switch (code) {
    case IOCTL_PORTIO_WRITE_UCHAR:         op.width = 1; break;
    case IOCTL_PORTIO_READ_UCHAR:          op.width = 1; op.isRead = TRUE; break;
    case IOCTL_PORTIO_WRITE_USHORT:        op.width = 2; break;
    case IOCTL_PORTIO_READ_USHORT:         op.width = 2; op.isRead = TRUE; break;
    case IOCTL_PORTIO_WRITE_ULONG:         op.width = 4; break;
    case IOCTL_PORTIO_READ_ULONG:          op.width = 4; op.isRead = TRUE; break;
    case IOCTL_PORTIO_WRITE_BUFFER_UCHAR:  op.width = 1; op.isBuffer = TRUE; break;
    case IOCTL_PORTIO_READ_BUFFER_UCHAR:   op.width = 1; op.isBuffer = TRUE; op.isRead = TRUE; break;
    case IOCTL_PORTIO_WRITE_BUFFER_USHORT: op.width = 2; op.isBuffer = TRUE; break;
    case IOCTL_PORTIO_READ_BUFFER_USHORT:  op.width = 2; op.isBuffer = TRUE; op.isRead = TRUE; break;
    case IOCTL_PORTIO_WRITE_BUFFER_ULONG:  op.width = 4; op.isBuffer = TRUE; break;
    case IOCTL_PORTIO_READ_BUFFER_ULONG:   op.width = 4; op.isBuffer = TRUE; op.isRead = TRUE; break;
    default: break;
    }
    return op;
}

static void TransferSingle(PUCHAR record, PORT_OPERATION op)
{
    const USHORT port = (USHORT)LoadLittleEndian(record, 2);
    PUCHAR value = record + PORTIO_VALUE_OFFSET;
    if (op.isRead)
        StoreLittleEndian(value, ReadPort(port, op.width), op.width);
    else
        WritePort(port, LoadLittleEndian(value, op.width), op.width);
}

/* Moves `Count` elements between the caller's `Buffer` and one fixed port,
 * a chunk at a time, stopping at the first part of the caller's range that
 * is not its own. */
static NTSTATUS TransferBuffer(PUCHAR record, PORT_OPERATION op, const PORTVANE_CALLER_MEMORY* memory)
{
    const USHORT port = (USHORT)LoadLittleEndian(record, 2);
    const ULONG address = LoadLittleEndian(record + 8, 4);
    const ULONG count = LoadLittleEndian(record + 12, 4);
    const ULONG perChunk = PORTVANE_CHUNK_BYTES / op.width;
    UCHAR chunk[PORTVANE_CHUNK_BYTES];
    ULONG done = 0;

    if (count == 0)
        return STATUS_SUCCESS;
    /* The range must lie inside the 32-bit address the record can name. */
    if ((ULONGLONG)count * op.width - 1u > 0xFFFFFFFFull - address)
        return STATUS_INVALID_PARAMETER;

    while (done < count) {
        const ULONG n = (count - done < perChunk) ? count - done : perChunk;
        const ULONG at = address + done * op.width;
        const ULONG bytes = n * op.width;
        ULONG i;
        NTSTATUS status;
        if (op.isRead) {
            for (i = 0; i < n; ++i)
                StoreLittleEndian(chunk + i * op.width, ReadPort(port, op.width), op.width);
            status = memory->Write(memory->Context, at, chunk, bytes);
            if (!NT_SUCCESS(status))
                return status;
        } else {
            status = memory->Read(memory->Context, at, chunk, bytes);
            if (!NT_SUCCESS(status))
                return status;
            for (i = 0; i < n; ++i)
                WritePort(port, LoadLittleEndian(chunk + i * op.width, op.width), op.width);
        }
        done += n;
    }
    return STATUS_SUCCESS;
}

static BOOLEAN IsOwnCode(ULONG code)
{
    return code >= IOCTL_PORTIO_INFO && code <= IOCTL_PORTIO_READ_BUFFER_ULONG && (code & 3u) == 0;
}

static NTSTATUS ServeIdentification(PUCHAR systemBuffer, ULONG outputLength)
{
    if (outputLength < PortvaneIdentificationSize())
        return STATUS_BUFFER_TOO_SMALL;
    RtlCopyMemory(systemBuffer, PortvaneIdentification, PortvaneIdentificationSize());
    return STATUS_SUCCESS;
}

static NTSTATUS ServePortCode(ULONG code, PUCHAR record, ULONG outputLength,
                              const PORTVANE_CALLER_MEMORY* callerMemory)
{
    const PORT_OPERATION op = DescribePortCode(code);
    if (outputLength < PORTIO_REQUEST_SIZE)
        return STATUS_BUFFER_TOO_SMALL;
    if (op.width == 0)
        return STATUS_NOT_SUPPORTED; /* the reserved code: nothing to execute */
    if (!PortvaneMayAccessPorts())
        return STATUS_PRIVILEGED_INSTRUCTION;
    if (!op.isBuffer) {
        TransferSingle(record, op);
        return STATUS_SUCCESS;
    }
    if (callerMemory == NULL)
        return STATUS_NOT_SUPPORTED;
    return TransferBuffer(record, op, callerMemory);
}

NTSTATUS PortvaneControl(ULONG code, PUCHAR systemBuffer, ULONG inputLength, ULONG outputLength,
                         const PORTVANE_CALLER_MEMORY* callerMemory, ULONG_PTR* information)
{
    NTSTATUS status;

    /* The whole output length goes back to the caller. The part the input did
     * not fill holds whatever the system buffer held before; clear it so that
     * no stale kernel memory is read as a request or handed out. */
    if (IsOwnCode(code) && outputLength > inputLength)
        RtlZeroMemory(systemBuffer + inputLength, outputLength - inputLength);

    if (code == IOCTL_PORTIO_INFO)
        status = ServeIdentification(systemBuffer, outputLength);
    else if (IsOwnCode(code))
        status = ServePortCode(code, systemBuffer, outputLength, callerMemory);
    else
        status = STATUS_INVALID_DEVICE_REQUEST;

    *information = NT_SUCCESS(status) ? outputLength : 0;
    return status;
}
