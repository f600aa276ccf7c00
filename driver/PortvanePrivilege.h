#ifndef PORTVANE_PRIVILEGE_H
#define PORTVANE_PRIVILEGE_H

#include <ntddk.h>

/* Whether the processor runs the driver at the kernel's privilege level, the
 * only one at which port instructions work. A kernel emulated in a user
 * process (Wine's) loads the driver there, and a port instruction would
 * fault and take that process down. */
BOOLEAN PortvaneMayAccessPorts(void);

#endif
