#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

// `pattern` with each "%s" replaced, in order, by the next of `args`.
// What an argument brings in is never scanned again: a file name holding
// "%s" shows as it is. Arguments beyond the last "%s" are left out. A "%s"
// beyond the last argument stays as it is, so that a text given too few
// values shows the gap instead of reading as a whole sentence with a value
// silently missing (" bytes" for "222 bytes"); an argument given as an
// empty string fills its "%s" with nothing, as asked.
std::string FormatText(std::string_view pattern, std::initializer_list<std::string_view> args);

// A count in decimal digits grouped by three with commas ("12,088"), as
// both window programs show byte counts whatever the system's settings.
std::string GroupedDigits(uint64_t number);
