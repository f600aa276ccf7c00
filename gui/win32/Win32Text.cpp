#include "gui/win32/Win32Text.h"

#include "text/Utf16Text.h"

#include <windows.h>

#include <vector>

std::wstring Widen(const std::string& utf8)
{
    const std::u16string wide = Utf8ToUtf16(utf8);
    return std::wstring(wide.begin(), wide.end());
}

std::string Narrow(const std::wstring& utf16)
{
    return Utf16ToUtf8(std::u16string(utf16.begin(), utf16.end()));
}

std::string WindowText(void* hWnd)
{
    HWND window = static_cast<HWND>(hWnd);
    if (window == nullptr)
        return {};
    std::vector<wchar_t> buffer(static_cast<size_t>(GetWindowTextLengthW(window)) + 1);
    const int length = GetWindowTextW(window, buffer.data(), static_cast<int>(buffer.size()));
    return Narrow(std::wstring(buffer.data(), static_cast<size_t>(length > 0 ? length : 0)));
}
