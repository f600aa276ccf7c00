#include "gui/win32/Win32RemoteWindow.h"

#include "gui/pages/RemoteFace.h"
#include "gui/win32/Win32KeyLabel.h"
#include "gui/win32/Win32Text.h"
#include "language/LanguageLibrary.h"
#include "link/KeyTable.h"
#include "resources/ControlIds.h"
#include "screen/ScreenImage.h"

#include <algorithm>

namespace {

constexpr UINT_PTR TICK_TIMER = 1;

CWin32RemoteWindow* g_pOpen = nullptr;

COLORREF Colour(uint32_t rgb)
{
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

bool IsDown(int key)
{
    return (GetKeyState(key) & 0x8000) != 0;
}

unsigned HeldModifiers()
{
    unsigned held = 0;
    if (IsDown(VK_SHIFT))
        held |= PC_SHIFT;
    if (IsDown(VK_CONTROL))
        held |= PC_CTRL;
    if (IsDown(VK_MENU))
        held |= PC_ALT;
    // Ctrl and Alt together are AltGr on many keyboards: the character
    // typed counts then.
    if ((held & (PC_CTRL | PC_ALT)) == (PC_CTRL | PC_ALT))
        held &= ~(PC_CTRL | PC_ALT);
    return held;
}

bool ToPcKey(WPARAM key, PcKey& pcKey)
{
    switch (key) {
    case VK_RETURN: pcKey = PcKey::Enter; return true;
    case VK_BACK: pcKey = PcKey::Backspace; return true;
    case VK_DELETE: pcKey = PcKey::Delete; return true;
    case VK_INSERT: pcKey = PcKey::Insert; return true;
    case VK_ESCAPE: pcKey = PcKey::Escape; return true;
    case VK_UP: pcKey = PcKey::Up; return true;
    case VK_DOWN: pcKey = PcKey::Down; return true;
    case VK_LEFT: pcKey = PcKey::Left; return true;
    case VK_RIGHT: pcKey = PcKey::Right; return true;
    default: break;
    }
    if (key >= VK_F1 && key <= VK_F8) {
        pcKey = static_cast<PcKey>(static_cast<int>(PcKey::F1) + static_cast<int>(key - VK_F1));
        return true;
    }
    return false;
}

// A font like the dialog's, `height` pixels high.
HFONT MakeFont(HWND dialog, int height, bool bold)
{
    LOGFONTW font = {};
    HGDIOBJ dialogFont = reinterpret_cast<HGDIOBJ>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    if (dialogFont == nullptr || GetObjectW(dialogFont, sizeof font, &font) == 0)
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    font.lfHeight = -height;
    font.lfWidth = 0;
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    return CreateFontIndirectW(&font);
}

} // namespace

CWin32RemoteWindow::~CWin32RemoteWindow()
{
    if (g_pOpen == this)
        g_pOpen = nullptr;
}

CWin32RemoteWindow* CWin32RemoteWindow::GetOpen()
{
    return g_pOpen;
}

bool CWin32RemoteWindow::Run(HWND owner, CLink& link)
{
    const void* tmpl = LoadLanguageResource(IDD_REMOTE, RT_DIALOG);
    if (tmpl == nullptr)
        return false;
    m_pLink = &link;
    g_pOpen = this;
    const INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), static_cast<LPCDLGTEMPLATEW>(tmpl), owner,
                                                   &CWin32RemoteWindow::DialogProc, reinterpret_cast<LPARAM>(this));
    g_pOpen = nullptr;
    m_hWnd = nullptr;
    m_hFace = nullptr;
    return result != -1 && result != IDABORT;
}

INT_PTR CALLBACK CWin32RemoteWindow::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        auto* window = reinterpret_cast<CWin32RemoteWindow*>(lParam);
        SetWindowLongPtrW(hWnd, DWLP_USER, lParam);
        window->OnInitDialog(hWnd);
        // The focus is the face's, set by OnInitDialog.
        return FALSE;
    }
    auto* window = reinterpret_cast<CWin32RemoteWindow*>(GetWindowLongPtrW(hWnd, DWLP_USER));
    if (window == nullptr)
        return FALSE;
    switch (message) {
    case WM_TIMER:
        if (wParam != TICK_TIMER)
            return FALSE;
        KillTimer(hWnd, TICK_TIMER);
        window->m_logic.OnTick();
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL)
            window->OnCloseRequest();
        return TRUE;
    case WM_DESTROY:
        KillTimer(hWnd, TICK_TIMER);
        return FALSE;
    default:
        return FALSE;
    }
}

void CWin32RemoteWindow::OnInitDialog(HWND hWnd)
{
    m_hWnd = hWnd;
    m_hFace = GetDlgItem(hWnd, IDC_REMOTE_FACE);
    if (m_hFace == nullptr) {
        EndDialog(hWnd, IDABORT);
        return;
    }
    // The picture control draws the calculator and takes its clicks and keys.
    SetWindowLongPtrW(m_hFace, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_pFaceProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(m_hFace, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWin32RemoteWindow::FaceProc)));
    SetFocus(m_hFace);
    m_logic.OnOpen(m_pLink);
}

void CWin32RemoteWindow::OnCloseRequest()
{
    if (m_logic.OnClose()) {
        KillTimer(m_hWnd, TICK_TIMER);
        EndDialog(m_hWnd, IDCANCEL);
        return;
    }
    // A screen is being read: out of sight now, ended once it is in.
    ShowWindow(m_hWnd, SW_HIDE);
}

LRESULT CALLBACK CWin32RemoteWindow::FaceProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* window = reinterpret_cast<CWin32RemoteWindow*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    switch (message) {
    case WM_NCHITTEST:
        return HTCLIENT;
    case WM_GETDLGCODE:
        // Enter, Escape and the arrows are the calculator's; Tab moves on.
        if (lParam != 0 && reinterpret_cast<const MSG*>(lParam)->wParam == VK_TAB)
            return 0;
        return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        window->PaintFace();
        return 0;
    case WM_LBUTTONDOWN: {
        SetFocus(hWnd);
        RECT client;
        GetClientRect(hWnd, &client);
        const FaceFit fit = FaceFit::Into(client.right, client.bottom);
        window->m_logic.OnFaceClick(fit.ToFaceX(static_cast<short>(LOWORD(lParam))),
                                    fit.ToFaceY(static_cast<short>(HIWORD(lParam))));
        return 0;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (window->OnFaceKey(wParam))
            return 0;
        break;
    case WM_CHAR:
        if (window->OnFaceChar(wParam))
            return 0;
        break;
    case WM_SYSCHAR:
        // Alt with a key went to the calculator as 2nd; no beep for a menu.
        if (wParam != ' ')
            return 0;
        break;
    default:
        break;
    }
    return CallWindowProcW(window->m_pFaceProc, hWnd, message, wParam, lParam);
}

bool CWin32RemoteWindow::OnFaceKey(WPARAM key)
{
    const unsigned held = HeldModifiers();
    // Alt+F4 stays the system's.
    if (key == VK_F4 && IsDown(VK_MENU))
        return false;
    PcKey pcKey;
    if (ToPcKey(key, pcKey))
        return m_logic.OnPcKey(pcKey, held);
    if ((held & (PC_CTRL | PC_ALT)) == 0)
        return false;
    // With Ctrl or Alt the key counts; the character it makes is a control one.
    if (key >= 'A' && key <= 'Z')
        return m_logic.OnPcCharacter(static_cast<char32_t>(key - 'A' + 'a'), held);
    if (key >= '0' && key <= '9')
        return m_logic.OnPcCharacter(static_cast<char32_t>(key), held);
    return false;
}

bool CWin32RemoteWindow::OnFaceChar(WPARAM character)
{
    // Control characters came as keys; Ctrl or Alt went with the key.
    const unsigned held = HeldModifiers();
    if (character < 0x20 || character == 0x7F || (held & (PC_CTRL | PC_ALT)) != 0)
        return true;
    if (character >= 0xD800 && character <= 0xDFFF)
        return false;
    return m_logic.OnPcCharacter(static_cast<char32_t>(character), 0);
}

void CWin32RemoteWindow::PaintFace()
{
    PAINTSTRUCT paint;
    HDC target = BeginPaint(m_hFace, &paint);
    RECT client;
    GetClientRect(m_hFace, &client);
    const int width = client.right, height = client.bottom;
    // Drawn aside and copied at once, so that nothing flickers.
    HDC dc = CreateCompatibleDC(target);
    HBITMAP canvas = CreateCompatibleBitmap(target, width, height);
    HGDIOBJ oldBitmap = SelectObject(dc, canvas);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));

    const FaceFit fit = FaceFit::Into(width, height);
    const auto place = [&fit](int x, int y, int w, int h) {
        return RECT{fit.ToPixelX(x), fit.ToPixelY(y), fit.ToPixelX(x + w), fit.ToPixelY(y + h)};
    };
    const auto fill = [dc](const RECT& box, uint32_t rgb, int round) {
        HBRUSH brush = CreateSolidBrush(Colour(rgb));
        HGDIOBJ oldBrush = SelectObject(dc, brush);
        HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
        RoundRect(dc, box.left, box.top, box.right + 1, box.bottom + 1, round, round);
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBrush);
        DeleteObject(brush);
    };
    fill(place(0, 0, FACE_WIDTH, FACE_HEIGHT), FACE_BODY_RGB, static_cast<int>(24 * fit.scale));
    const FaceRect s = SCREEN_FACE_RECT;
    fill(place(s.x - 4, s.y - 4, s.width + 8, s.height + 8), FACE_SCREEN_FRAME_RGB, 0);

    const int zoom = static_cast<int>(m_nZoom);
    if (zoom > 0 && m_bits.size() == static_cast<size_t>(SCREEN_BYTES) * zoom * zoom) {
        // One bit a pixel, rows top first: a set bit is light.
        struct {
            BITMAPINFOHEADER header;
            RGBQUAD colours[2];
        } info = {};
        info.header.biSize = sizeof info.header;
        info.header.biWidth = SCREEN_WIDTH * zoom;
        info.header.biHeight = -SCREEN_HEIGHT * zoom;
        info.header.biPlanes = 1;
        info.header.biBitCount = 1;
        info.header.biCompression = BI_RGB;
        info.colours[1] = {255, 255, 255, 0};
        const RECT screen = place(s.x, s.y, s.width, s.height);
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchDIBits(dc, screen.left, screen.top, screen.right - screen.left, screen.bottom - screen.top, 0, 0,
                      SCREEN_WIDTH * zoom, SCREEN_HEIGHT * zoom, m_bits.data(), reinterpret_cast<BITMAPINFO*>(&info),
                      DIB_RGB_COLORS, SRCCOPY);
    }

    HFONT labelFont = MakeFont(m_hWnd, std::max(8, static_cast<int>(12 * fit.scale)), true);
    HFONT upperFont = MakeFont(m_hWnd, std::max(6, static_cast<int>(8 * fit.scale)), false);
    HGDIOBJ oldFont = SelectObject(dc, labelFont);
    SetBkMode(dc, TRANSPARENT);
    for (const CalcKey& key : GetCalcKeys()) {
        RECT box = place(key.x, key.y, key.width, key.height);
        const bool latched = key.modifier != 0 && (m_wLatched & key.modifier) != 0;
        fill(box, latched ? FACE_LATCHED_RGB : KeyFillRgb(key.kind), static_cast<int>(10 * fit.scale));
        SetTextColor(dc, latched ? RGB(0, 0, 0) : Colour(KeyTextRgb(key.kind)));
        SelectObject(dc, labelFont);
        DrawKeyLabel(dc, Utf8ToWide(key.label), box);
        if (key.upperLabel[0] != '\0') {
            RECT corner = {box.left + 3, box.top + 1, box.right, box.bottom};
            SetTextColor(dc, Colour(FACE_UPPER_LABEL_RGB));
            SelectObject(dc, upperFont);
            const std::wstring upper = Utf8ToWide(key.upperLabel);
            DrawTextW(dc, upper.c_str(), -1, &corner, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
        }
    }
    if (GetFocus() == m_hFace) {
        RECT focus = {1, 1, width - 1, height - 1};
        DrawFocusRect(dc, &focus);
    }
    SelectObject(dc, oldFont);
    DeleteObject(labelFont);
    DeleteObject(upperFont);

    BitBlt(target, 0, 0, width, height, dc, 0, 0, SRCCOPY);
    SelectObject(dc, oldBitmap);
    DeleteObject(canvas);
    DeleteDC(dc);
    EndPaint(m_hFace, &paint);
}

void CWin32RemoteWindow::ShowScreen(const std::vector<uint8_t>& bits, unsigned zoom)
{
    m_bits = bits;
    m_nZoom = zoom;
    if (m_hFace != nullptr) {
        // At once: a read of the next screen may hold the window a moment.
        InvalidateRect(m_hFace, nullptr, FALSE);
        UpdateWindow(m_hFace);
    }
}

void CWin32RemoteWindow::ShowModifiers(uint16_t modifiers)
{
    m_wLatched = modifiers;
    if (m_hFace != nullptr)
        InvalidateRect(m_hFace, nullptr, FALSE);
}

void CWin32RemoteWindow::ShowStatus(const std::string& rate, const std::string& queue, const std::string& problem)
{
    const std::pair<int, const std::string*> lines[] = {
        {IDC_REMOTE_RATE, &rate}, {IDC_REMOTE_QUEUE, &queue}, {IDC_REMOTE_PROBLEM, &problem}};
    for (const auto& [id, text] : lines) {
        std::wstring shown = Utf8ToWide(*text);
        std::replace(shown.begin(), shown.end(), L'\r', L' ');
        std::replace(shown.begin(), shown.end(), L'\n', L' ');
        SetDlgItemTextW(m_hWnd, id, shown.c_str());
    }
}

void CWin32RemoteWindow::ScheduleTick(uint64_t ms)
{
    SetTimer(m_hWnd, TICK_TIMER, static_cast<UINT>(std::max<uint64_t>(ms, USER_TIMER_MINIMUM)), nullptr);
}

void CWin32RemoteWindow::PumpEvents()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // For the loop that owns it.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (m_hWnd == nullptr || !IsDialogMessageW(m_hWnd, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

bool CWin32RemoteWindow::IsHidden() const
{
    return m_hWnd == nullptr || !IsWindowVisible(m_hWnd) || IsIconic(m_hWnd);
}

void CWin32RemoteWindow::EndWindow()
{
    KillTimer(m_hWnd, TICK_TIMER);
    EndDialog(m_hWnd, IDCANCEL);
}
