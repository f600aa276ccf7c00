#pragma once

#include <string>
#include <string_view>

// UTF-16 text, as the system's resources and Windows' wide-character calls
// hold it, to UTF-8 for the program's std::string texts and back: the one
// conversion between the two. A lone surrogate becomes U+FFFD, as does a
// broken UTF-8 sequence the other way.
std::string Utf16ToUtf8(std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view text);

#ifdef _WIN32
// Windows' wchar_t is a UTF-16 unit: the same conversions for its wide
// strings.
std::string Utf16ToUtf8(std::wstring_view text);
std::wstring Utf8ToWide(std::string_view text);
#endif
