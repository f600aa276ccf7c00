#include "gui/win32/Win32Text.h"

#include <windows.h>

#include <vector>

std::string WindowText(void* hWnd)
{
    HWND window = static_cast<HWND>(hWnd);
    if (window == nullptr)
        return {};
    std::vector<wchar_t> buffer(static_cast<size_t>(GetWindowTextLengthW(window)) + 1);
    const int length = GetWindowTextW(window, buffer.data(), static_cast<int>(buffer.size()));
    return Utf16ToUtf8(std::wstring_view(buffer.data(), static_cast<size_t>(length > 0 ? length : 0)));
}
