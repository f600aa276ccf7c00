#pragma once

#include <string>

// UTF-16 text, as the system's resources hold it, to UTF-8 for the program's
// std::string texts and back. A lone surrogate becomes U+FFFD, as does a
// broken UTF-8 sequence the other way.
std::string Utf16ToUtf8(const std::u16string& text);
std::u16string Utf8ToUtf16(const std::string& text);
