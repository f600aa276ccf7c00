#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>

// The strings every language library must hold: messages of the pages and
// the sheet, and the column headings of the directory page.
inline constexpr std::initializer_list<uint16_t> REQUIRED_LANGUAGE_STRINGS = {
    105, 106, 107, 108, 109, 110, 111, 113, 114, 115, 116, 117, 118,
    119, 120, 121, 122, 123, 124, 134, 135, 136};

// Whether a resource library file of the system, held in memory, is a
// language library the program can use: a whole library image whose every
// string block and dialog template reads within its bounds, and which holds
// every required string. Checked before the system is given the file, so a
// damaged or foreign library is refused without the system reading it.
bool IsWholeLanguageImage(const uint8_t* data, size_t size);
