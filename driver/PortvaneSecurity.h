#ifndef PORTVANE_SECURITY_H
#define PORTVANE_SECURITY_H

#include <ntddk.h>

/* Lets only the system and administrators open the device: whoever opens it
 * can reach every I/O port of the machine. */
NTSTATUS PortvaneRestrictAccess(PDEVICE_OBJECT device);

#endif
