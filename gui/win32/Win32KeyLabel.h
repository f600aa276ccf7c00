#pragma once

#include <string>

#include <windows.h>

// Draws a calculator key's label centred in `box`, in the font and text
// colour selected into `dc`. The arrows, the diamond, shift, the store
// triangle and theta are drawn as shapes: the dialog fonts of many Windows
// versions have no glyph for them, and GDI does not look for one in
// another font, so they would show as empty boxes.
void DrawKeyLabel(HDC dc, const std::wstring& label, const RECT& box);
