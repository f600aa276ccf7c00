#pragma once

#include "port/SerialDevice.h"

#include <memory>
#include <string>
#include <vector>

// The system's serial ports: /dev/tty* devices on Linux, COM ports on
// Windows. The name is free text (a device path, COM1, COM12...).
std::unique_ptr<ISerialDevice> MakeSystemSerialDevice(const std::string& name);
// The ports a serial cable may be on, as the system lists them.
std::vector<std::string> ListSystemSerialPorts();
