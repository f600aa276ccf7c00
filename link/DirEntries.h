#pragma once

#include <cstdint>
#include <string>

// Records of the last directory listing. Names are the calculator's raw
// bytes, kept unconverted: receiving sends them back to the calculator.

struct FolderEntry {
    std::string name;
    uint32_t size = 0;
};

struct VarEntry {
    std::string name;
    uint8_t type = 0;
    uint32_t size = 0;
    uint8_t attributes = 0; // not interpreted; written into received files
    std::string folder;     // the folder entry received last before it
};
