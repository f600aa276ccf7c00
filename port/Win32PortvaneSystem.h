#pragma once

#include "port/PortvaneSystem.h"

// The running Windows system's own calls for the Portvane client.
IPortvaneSystem& RealPortvaneSystem();
