#pragma once

// The program keeps its texts in UTF-8; the system's wide functions take
// UTF-16, converted by text/Utf16Text.h (Utf8ToWide, Utf16ToUtf8).
#include "text/Utf16Text.h"

#include <string>

// The text of a window (a control's caption or an edit field's contents).
std::string WindowText(void* hWnd);
