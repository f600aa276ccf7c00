#ifndef PORTVANE_PORTIO_REQUEST_H
#define PORTVANE_PORTIO_REQUEST_H

/* The device-control interface of the Portvane driver: its names, codes and
 * the 24-byte request record. Plain C, shared by the driver and by the
 * program's port client, so that both sides agree byte for byte. */

#include <stddef.h>
#include <stdint.h>

#define PORTVANE_DEVICE_NAME u"\\Device\\Portvane"
#define PORTVANE_LINK_NAME u"\\DosDevices\\Portvane"
#define PORTVANE_USER_DEVICE_PATH "\\\\.\\Portvane"

/* Device type "unknown", buffered transfer, handle opened for reading and writing. */
#define PORTVANE_DEVICE_TYPE 0x22u
#define PORTVANE_CONTROL_CODE(function) \
    ((PORTVANE_DEVICE_TYPE << 16) | (3u << 14) | ((uint32_t)(function) << 2))

#define IOCTL_PORTIO_INFO                PORTVANE_CONTROL_CODE(0x800)
#define IOCTL_PORTIO_WRITE_UCHAR         PORTVANE_CONTROL_CODE(0x801)
#define IOCTL_PORTIO_READ_UCHAR          PORTVANE_CONTROL_CODE(0x802)
#define IOCTL_PORTIO_WRITE_USHORT        PORTVANE_CONTROL_CODE(0x803)
#define IOCTL_PORTIO_READ_USHORT         PORTVANE_CONTROL_CODE(0x804)
#define IOCTL_PORTIO_WRITE_ULONG         PORTVANE_CONTROL_CODE(0x805)
#define IOCTL_PORTIO_READ_ULONG          PORTVANE_CONTROL_CODE(0x806)
/* Taken but without an operation: answered like the port codes for a short
 * buffer, refused otherwise. */
#define IOCTL_PORTIO_RESERVED            PORTVANE_CONTROL_CODE(0x807)
#define IOCTL_PORTIO_WRITE_BUFFER_UCHAR  PORTVANE_CONTROL_CODE(0x808)
#define IOCTL_PORTIO_READ_BUFFER_UCHAR   PORTVANE_CONTROL_CODE(0x809)
#define IOCTL_PORTIO_WRITE_BUFFER_USHORT PORTVANE_CONTROL_CODE(0x80A)
#define IOCTL_PORTIO_READ_BUFFER_USHORT  PORTVANE_CONTROL_CODE(0x80B)
#define IOCTL_PORTIO_WRITE_BUFFER_ULONG  PORTVANE_CONTROL_CODE(0x80C)
#define IOCTL_PORTIO_READ_BUFFER_ULONG   PORTVANE_CONTROL_CODE(0x80D)

/* Input and output of every code but IOCTL_PORTIO_INFO; little-endian. */
typedef struct PORTIO_REQUEST {
    uint16_t Port;      /* I/O port address */
    uint16_t Padding;
    uint32_t Value;     /* single transfers: value written or read */
    uint32_t Buffer;    /* buffer transfers: caller's address of element 0 */
    uint32_t Count;     /* buffer transfers: number of elements */
    uint32_t Reserved1;
    uint16_t Reserved2;
    uint16_t Reserved3;
} PORTIO_REQUEST;

#define PORTIO_REQUEST_SIZE 24u
#define PORTIO_VALUE_OFFSET 4u

#ifdef __cplusplus
#define PORTVANE_STATIC_ASSERT(condition, message) static_assert(condition, message)
#else
#define PORTVANE_STATIC_ASSERT(condition, message) _Static_assert(condition, message)
#endif

PORTVANE_STATIC_ASSERT(sizeof(PORTIO_REQUEST) == PORTIO_REQUEST_SIZE, "request record is 24 bytes");
PORTVANE_STATIC_ASSERT(offsetof(PORTIO_REQUEST, Port) == 0, "Port at offset 0");
PORTVANE_STATIC_ASSERT(offsetof(PORTIO_REQUEST, Value) == PORTIO_VALUE_OFFSET, "Value at offset 4");
PORTVANE_STATIC_ASSERT(offsetof(PORTIO_REQUEST, Buffer) == 8, "Buffer at offset 8");
PORTVANE_STATIC_ASSERT(offsetof(PORTIO_REQUEST, Count) == 12, "Count at offset 12");
PORTVANE_STATIC_ASSERT(offsetof(PORTIO_REQUEST, Reserved1) == 16, "Reserved1 at offset 16");
PORTVANE_STATIC_ASSERT(offsetof(PORTIO_REQUEST, Reserved2) == 20, "Reserved2 at offset 20");
PORTVANE_STATIC_ASSERT(IOCTL_PORTIO_INFO == 0x22E000u, "first code");
PORTVANE_STATIC_ASSERT(IOCTL_PORTIO_RESERVED == 0x22E01Cu, "reserved code");
PORTVANE_STATIC_ASSERT(IOCTL_PORTIO_READ_BUFFER_ULONG == 0x22E034u, "last code");

#endif
