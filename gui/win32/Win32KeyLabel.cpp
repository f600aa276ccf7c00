#include "gui/win32/Win32KeyLabel.h"

#include <algorithm>
#include <vector>

namespace {

enum class Shape { None, Up, Down, Left, Right, Shift, Diamond, Store, Theta };

Shape ShapeOf(wchar_t c)
{
    switch (c) {
    case L'\u2191': return Shape::Up;
    case L'\u2193': return Shape::Down;
    case L'\u2190': return Shape::Left;
    case L'\u2192': return Shape::Right;
    case L'\u21E7': return Shape::Shift;
    case L'\u25C6': return Shape::Diamond;
    case L'\u25B6': return Shape::Store;
    case L'\u03B8': return Shape::Theta;
    default: return Shape::None;
    }
}

// A run of text, or one shape, and how wide it is drawn.
struct Piece {
    std::wstring text;
    Shape shape = Shape::None;
    int width = 0;
};

// An arrow pointing up, in a square from -1 to 1: the head is the upper
// half, the shaft a third as wide.
const POINT UP_ARROW[] = {{0, -100}, {100, 0}, {34, 0}, {34, 100}, {-34, 100}, {-34, 0}, {-100, 0}};
const POINT DIAMOND[] = {{0, -110}, {90, 0}, {0, 110}, {-90, 0}};
const POINT RIGHT_TRIANGLE[] = {{-60, -80}, {80, 0}, {-60, 80}};

// `points` (hundredths of the half size) turned a quarter `turns` times
// clockwise, around the centre (`cx`, `cy`) and scaled to `half` pixels.
std::vector<POINT> Place(const POINT* points, size_t count, int turns, int cx, int cy, int half)
{
    std::vector<POINT> placed;
    for (size_t i = 0; i < count; ++i) {
        POINT p = points[i];
        for (int t = 0; t < turns; ++t)
            p = POINT{-p.y, p.x};
        placed.push_back({cx + p.x * half / 100, cy + p.y * half / 100});
    }
    return placed;
}

void DrawShape(HDC dc, Shape shape, int cx, int cy, int size)
{
    const COLORREF colour = GetTextColor(dc);
    HPEN pen = CreatePen(PS_SOLID, std::max(1, size / 8), colour);
    HBRUSH brush = CreateSolidBrush(colour);
    const bool hollow = shape == Shape::Shift || shape == Shape::Theta;
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, hollow ? GetStockObject(NULL_BRUSH) : brush);
    const int half = size / 2;
    std::vector<POINT> points;
    switch (shape) {
    case Shape::Up:
    case Shape::Shift: points = Place(UP_ARROW, std::size(UP_ARROW), 0, cx, cy, half); break;
    case Shape::Right: points = Place(UP_ARROW, std::size(UP_ARROW), 1, cx, cy, half); break;
    case Shape::Down: points = Place(UP_ARROW, std::size(UP_ARROW), 2, cx, cy, half); break;
    case Shape::Left: points = Place(UP_ARROW, std::size(UP_ARROW), 3, cx, cy, half); break;
    case Shape::Diamond: points = Place(DIAMOND, std::size(DIAMOND), 0, cx, cy, half); break;
    case Shape::Store: points = Place(RIGHT_TRIANGLE, std::size(RIGHT_TRIANGLE), 0, cx, cy, half); break;
    case Shape::Theta:
        Ellipse(dc, cx - half * 7 / 10, cy - half, cx + half * 7 / 10 + 1, cy + half + 1);
        MoveToEx(dc, cx - half * 7 / 10, cy, nullptr);
        LineTo(dc, cx + half * 7 / 10, cy);
        break;
    case Shape::None: break;
    }
    if (!points.empty())
        Polygon(dc, points.data(), static_cast<int>(points.size()));
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
}

} // namespace

void DrawKeyLabel(HDC dc, const std::wstring& label, const RECT& box)
{
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    // About as tall as a capital letter.
    const int size = std::max(5, static_cast<int>(metrics.tmAscent - metrics.tmInternalLeading));
    std::vector<Piece> pieces;
    for (wchar_t c : label) {
        const Shape shape = ShapeOf(c);
        if (shape != Shape::None)
            pieces.push_back({{}, shape, size + 2});
        else if (!pieces.empty() && pieces.back().shape == Shape::None)
            pieces.back().text += c;
        else
            pieces.push_back({std::wstring(1, c), Shape::None, 0});
    }
    int total = 0;
    for (Piece& piece : pieces) {
        if (piece.shape == Shape::None) {
            SIZE extent = {};
            GetTextExtentPoint32W(dc, piece.text.c_str(), static_cast<int>(piece.text.size()), &extent);
            piece.width = extent.cx;
        }
        total += piece.width;
    }
    int x = (box.left + box.right - total) / 2;
    const int cy = (box.top + box.bottom) / 2;
    for (const Piece& piece : pieces) {
        if (piece.shape == Shape::None) {
            RECT run = {x, box.top, x + piece.width, box.bottom};
            DrawTextW(dc, piece.text.c_str(), static_cast<int>(piece.text.size()), &run,
                      DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
        } else {
            DrawShape(dc, piece.shape, x + piece.width / 2, cy, size);
        }
        x += piece.width;
    }
}
