#pragma once

#include <string>
#include <string_view>

// Windows' wide-character calls take UTF-16; the program's own strings are
// UTF-8. Text that is not valid in one comes out with replacement characters.
std::wstring WideFromUtf8(std::string_view text);
std::string Utf8FromWide(std::wstring_view text);
