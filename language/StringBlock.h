#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A string table resource holds strings in blocks of sixteen: string `id`
// lives in block id / 16 + 1 at place id % 16, each string a 16-bit length
// followed by that many UTF-16 units.
inline constexpr uint16_t StringBlockOf(uint16_t id) { return uint16_t(id / 16 + 1); }

// String `index` (0 to 15) of a block; false when the block is too short to
// hold it.
bool ReadBlockString(const uint8_t* block, size_t size, unsigned index, std::u16string& text);
// Whether the block holds exactly its sixteen strings.
bool IsWholeStringBlock(const uint8_t* block, size_t size);
