#pragma once

#include "sim/CalcMemory.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// The simulated calculator's memory as the opaque image that its backups
// carry: a mark of its own, then every folder with its variables. Only an
// image of this kind can be restored into it.

// The ROM version text that names its backups.
inline constexpr char SIM_ROM_VERSION[] = "SIM 1.0";
// The calculator sends its image in blocks of this size, the last shorter.
inline constexpr size_t SIM_BACKUP_BLOCK_SIZE = 1024;

std::vector<uint8_t> MakeBackupImage(const CCalcMemory& memory);

// Replaces `memory` only when `image` is a whole image of this kind.
bool ReadBackupImage(const std::vector<uint8_t>& image, CCalcMemory& memory);
