#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The rules the calculator holds its names to, and what it takes to type a
// name on its keyboard.

inline constexpr size_t CALC_NAME_MAX_LENGTH = 8;

// Why a name the user gives for something new (a folder) is refused: the
// message saying so, with the name for its "%s"; 0 for a good name. A name
// has 1 to 8 characters: a letter first, then letters, digits or "_".
int CheckNewCalcName(const std::string& name);

// The calculator keeps names in small letters and turns capitals typed into
// a name into small ones; so does this, for a name about to be made.
std::string LowerCaseCalcName(const std::string& name);

// The keys that type `raw` (a name as the directory lists it: the
// calculator's own character codes), empty when a byte of it is not a
// character the keyboard types.
std::optional<std::vector<uint16_t>> KeyCodesForCalcName(const std::string& raw);
