#pragma once

#include <cstdint>
#include <string_view>

// Reads a port text such as "0x378" as a hexadecimal number. The text is
// scanned from its end: whatever follows the last hexadecimal digit is
// ignored (no digit at all gives 0); from that digit on every character
// takes one hexadecimal place, a digit adding its value there and anything
// else nothing (so the "0x" prefix adds nothing), except blanks, tabs and
// commas, which take no place. Places beyond the eighth fall out of the
// 32-bit result.
uint32_t ParseHexText(std::string_view text);
