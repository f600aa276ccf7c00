#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Contents of TI-92 variables in the calculator's own layout: the bytes after
// the two-byte big-endian length word, ending in the type's tag.

inline constexpr uint8_t TI92_TYPE_EXPR = 0x00;
inline constexpr uint8_t TI92_TYPE_LIST = 0x04;
inline constexpr uint8_t TI92_TYPE_TEXT = 0x0B;
inline constexpr uint8_t TI92_TYPE_STR = 0x0C;
inline constexpr uint8_t TI92_TYPE_PIC = 0x10;

// 00, the characters, 00 2D.
std::vector<uint8_t> MakeStringContents(const std::string& text);
// Cursor offset (big-endian, at the start), lines of plain text each opened
// by a space and separated by carriage returns, then 00 E0.
std::vector<uint8_t> MakeTextContents(const std::vector<std::string>& lines);
// A non-negative integer expression: the value's bytes most significant
// first, their count, then 1F. Zero has no value bytes.
std::vector<uint8_t> MakeIntegerContents(uint32_t value);
// A list of non-negative integers: E5 (end of the list), the elements from
// the last to the first, then D9.
std::vector<uint8_t> MakeIntegerListContents(const std::vector<uint32_t>& values);

// A one-bit picture, rows top first, each row ceil(width / 8) bytes with the
// leftmost pixel in the most significant bit, bit set = dark.
struct PicturePixels {
    uint16_t width = 0;
    uint16_t height = 0;
    std::vector<uint8_t> rows;
};
// Height and width as big-endian words, the rows, then DF. Empty when the
// rows do not match the size.
std::vector<uint8_t> MakePictureContents(const PicturePixels& picture);
