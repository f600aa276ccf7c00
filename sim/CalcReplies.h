#pragma once

#include "sim/CalcMemory.h"
#include "sim/ScreenCanvas.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The data of the packets the calculator sends, and the reading of the data
// of the PC's requests and announcements.

// One directory entry: 4 zero bytes, the name zero-padded to 8 bytes, type,
// attribute, size little-endian.
std::vector<uint8_t> MakeDirectoryEntry(const std::string& name, uint8_t type, uint8_t attribute,
                                        uint32_t size);
// Every folder, each followed by its variables. A variable's size is its
// contents plus their length word; a folder's the sum of its variables'.
std::vector<std::vector<uint8_t>> MakeDirectoryListing(const CCalcMemory& memory);
// The variable header that answers a directory request: the listing's size
// in bytes and the directory type, without a name.
std::vector<uint8_t> MakeListingHeader(size_t entries);

// The variable header that answers a variable request: size (contents plus
// length word), type, name length, name.
std::vector<uint8_t> MakeVariableHeader(const SimVariable& variable);
// 4 zero bytes, the contents' length big-endian, the contents.
std::vector<uint8_t> MakeVariableData(const SimVariable& variable);

// The data of a PC's request or announcement: size, type, "folder\name".
struct PcVariableHeader {
    uint32_t size = 0;
    uint8_t type = 0;
    std::string folder;
    std::string name;
};
// Empty when the name length does not match the data, or the folder or the
// variable name is not a valid name. A name without a folder is in "main".
std::optional<PcVariableHeader> ReadPcVariableHeader(const std::vector<uint8_t>& data);
// The contents of a PC's data packet, taken from its own length word; empty
// when that word does not account for exactly the bytes that came.
std::optional<std::vector<uint8_t>> ReadPcVariableData(const std::vector<uint8_t>& data);
