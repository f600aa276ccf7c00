#include "driver/PortvanePrivilege.h"

BOOLEAN PortvaneMayAccessPorts(void)
{
    /* The low two bits of the code segment selector are the current
     * privilege level: 0 in the kernel, 3 in a user process. */
    unsigned short codeSegment;
    __asm__ volatile("mov %%cs, %0" : "=r"(codeSegment));
    return (BOOLEAN)((codeSegment & 3u) == 0);
}
