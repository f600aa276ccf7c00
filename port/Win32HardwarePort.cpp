#include "port/HardwarePort.h"
#include "port/PortvaneBackend.h"
#include "port/Win32PortvaneSystem.h"

// The driver reaches any port address, so the base only matters to the caller.
std::unique_ptr<IPortBackend> MakeHardwarePortBackend(uint16_t)
{
    return std::make_unique<CPortvaneBackend>(RealPortvaneSystem());
}
