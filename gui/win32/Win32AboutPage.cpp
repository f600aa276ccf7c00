#include "gui/win32/Win32AboutPage.h"

#include "clip/AviClip.h"
#include "gui/pages/AboutLogic.h"
#include "gui/win32/Win32Text.h"
#include "language/ProgramFolder.h"

namespace {

// Posted by the page to itself: the clip opens once the sheet has dressed
// the page, so that the page's ground is its final one.
constexpr UINT WM_OPEN_CLIP = WM_APP + 1;

// The colour the page paints its ground with at `at`: the system's face
// colour, or what a theme puts there.
COLORREF GroundColour(HWND page, POINT at)
{
    COLORREF colour = GetSysColor(COLOR_BTNFACE);
    RECT client = {};
    GetClientRect(page, &client);
    HDC screen = GetDC(page);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP picture = CreateCompatibleBitmap(screen, client.right, client.bottom);
    if (memory != nullptr && picture != nullptr) {
        HGDIOBJ old = SelectObject(memory, picture);
        SendMessageW(page, WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory), 0);
        colour = GetPixel(memory, at.x, at.y);
        SelectObject(memory, old);
    }
    if (picture != nullptr)
        DeleteObject(picture);
    if (memory != nullptr)
        DeleteDC(memory);
    ReleaseDC(page, screen);
    return colour;
}

} // namespace

CWin32AboutPage::~CWin32AboutPage()
{
    if (m_hClipGround != nullptr)
        DeleteObject(m_hClipGround);
}

void CWin32AboutPage::OnInitDialog()
{
    if (Item(IDC_ANIMATION) != nullptr)
        PostMessageW(GetHwnd(), WM_OPEN_CLIP, 0, 0);
}

bool CWin32AboutPage::OnOwnMessage(UINT message)
{
    HWND animation = Item(IDC_ANIMATION);
    if (message != WM_OPEN_CLIP || animation == nullptr)
        return false;
    const std::string path = CAboutLogic::GetClipPath(ProgramFolder());
    // The control shows the clip at its own size, in pixels, whatever the
    // dialog font makes of the template's units.
    CAviClip clip;
    if (clip.LoadFile(path))
        FitItemToPicture(IDC_ANIMATION, static_cast<int>(clip.GetWidth()), static_cast<int>(clip.GetHeight()));
    // The clip's ground is drawn in the page's own colour (the control asks
    // for it as a static control does), which a theme may make other than
    // the system's face colour.
    const RECT place = ItemRect(IDC_ANIMATION);
    if (m_hClipGround == nullptr)
        m_hClipGround = CreateSolidBrush(GroundColour(GetHwnd(), {place.left, place.top}));
    // The control plays it by itself (automatic play in the template).
    SendMessageW(animation, ACM_OPENW, 0, reinterpret_cast<LPARAM>(Utf8ToWide(path).c_str()));
    return true;
}

HBRUSH CWin32AboutPage::OnControlColour(int id, HDC hDC)
{
    if (id != IDC_ANIMATION || m_hClipGround == nullptr)
        return nullptr;
    LOGBRUSH ground = {};
    GetObjectW(m_hClipGround, sizeof ground, &ground);
    SetBkColor(hDC, ground.lbColor);
    return m_hClipGround;
}
