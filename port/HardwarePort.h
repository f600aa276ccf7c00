#pragma once

#include "port/PortBackend.h"

#include <cstdint>
#include <memory>

// The backend for real hardware on the running system; `base` is the
// configured port base (0x378 or 0x278).
std::unique_ptr<IPortBackend> MakeHardwarePortBackend(uint16_t base);
