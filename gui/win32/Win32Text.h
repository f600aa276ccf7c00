#pragma once

#include <string>

// The program keeps its texts in UTF-8; the system's wide functions take
// UTF-16. wchar_t is 16 bits wide on Windows.
std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& utf16);
// The text of a window (a control's caption or an edit field's contents).
std::string WindowText(void* hWnd);
