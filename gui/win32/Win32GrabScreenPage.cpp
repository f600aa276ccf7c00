#include "gui/win32/Win32GrabScreenPage.h"

#include "gui/win32/Win32RemoteWindow.h"
#include "gui/win32/Win32Text.h"
#include "screen/ScreenImage.h"

#include <commdlg.h>

#include <algorithm>
#include <climits>

namespace {

// The name buffer of the save dialog: a longer path does not fit, and the
// dialog then reports failure and nothing is written.
constexpr DWORD NAME_BUFFER_CHARS = 100;
// The largest picture the page shows: the screen at double size.
constexpr int MAX_ZOOM = 2;
// Pixels between the picture and the buttons under it.
constexpr int BUTTON_GAP = 4;

} // namespace

CWin32GrabScreenPage::CWin32GrabScreenPage(IUserMessages& messages)
    : CWin32Page(IDD), m_logic(*this, messages, m_writer)
{
}

CWin32GrabScreenPage::~CWin32GrabScreenPage()
{
    if (m_bitmap != nullptr)
        DeleteObject(m_bitmap);
}

void CWin32GrabScreenPage::OnInitDialog()
{
    // The picture control holds the double-size picture whole, whatever the
    // dialog font makes of the template's units; the buttons under it move
    // down when it grew into them.
    const RECT picture = FitItemToPicture(IDC_SCREEN_PICTURE, SCREEN_WIDTH * MAX_ZOOM, SCREEN_HEIGHT * MAX_ZOOM);
    const int buttonIds[] = {IDC_CAPTURE, IDC_ZOOM, IDC_SAVE_PICTURE};
    int buttonsTop = INT_MAX;
    for (int id : buttonIds)
        if (Item(id) != nullptr)
            buttonsTop = std::min<int>(buttonsTop, ItemRect(id).top);
    const int down = picture.bottom + BUTTON_GAP - buttonsTop;
    if (buttonsTop != INT_MAX && down > 0)
        for (int id : buttonIds)
            if (HWND button = Item(id)) {
                const RECT rect = ItemRect(id);
                SetWindowPos(button, nullptr, rect.left, rect.top + down, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
    m_logic.OnInitDialog();
}

void CWin32GrabScreenPage::OnCommand(int id, int code)
{
    if (code != BN_CLICKED)
        return;
    switch (id) {
    case IDC_CAPTURE: m_logic.OnCapture(); break;
    case IDC_ZOOM: m_logic.OnZoom(); break;
    case IDC_SAVE_PICTURE: m_logic.OnSave(); break;
    case IDC_REMOTE: m_logic.OnRemote(); break;
    default: break;
    }
}

bool CWin32GrabScreenPage::ShowPicture(const std::vector<uint8_t>& bits, unsigned zoom)
{
    const int width = static_cast<int>(SCREEN_WIDTH * zoom);
    const int height = static_cast<int>(SCREEN_HEIGHT * zoom);
    // Rows of 30*zoom bytes, an even number, as monochrome bitmaps want.
    if (bits.size() != static_cast<size_t>(width / 8 * height))
        return false;
    // Bit 0 (a dark pixel) is drawn in the text colour, bit 1 in the ground.
    HBITMAP bitmap = CreateBitmap(width, height, 1, 1, bits.data());
    if (bitmap == nullptr)
        return false;
    if (HWND picture = Item(IDC_SCREEN_PICTURE)) {
        SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
        InvalidateRect(picture, nullptr, TRUE);
        UpdateWindow(picture);
    }
    if (m_bitmap != nullptr)
        DeleteObject(m_bitmap);
    m_bitmap = bitmap;
    return true;
}

bool CWin32GrabScreenPage::IsZoomChecked() const
{
    HWND zoom = Item(IDC_ZOOM);
    return zoom != nullptr && SendMessageW(zoom, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CWin32GrabScreenPage::ShowBusy(bool busy)
{
    if (busy)
        m_hOldCursor = SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)));
    else
        SetCursor(m_hOldCursor != nullptr ? m_hOldCursor : LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)));
}

std::string CWin32GrabScreenPage::AskPicturePath()
{
    // Bitmap files only; a name typed with another extension the writer
    // knows (png, pbm) is written in that format.
    static const wchar_t FILTER[] = L"Bitmap (*.bmp)\0*.bmp\0";
    wchar_t name[NAME_BUFFER_CHARS] = {};
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
    dialog.hwndOwner = GetAncestor(GetHwnd(), GA_ROOT);
    dialog.lpstrFilter = FILTER;
    dialog.lpstrFile = name;
    dialog.nMaxFile = NAME_BUFFER_CHARS;
    dialog.lpstrInitialDir = L".";
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetSaveFileNameW(&dialog))
        return {};
    return Utf16ToUtf8(name);
}

bool CWin32GrabScreenPage::ShowRemoteWindow(CLink& link)
{
    CWin32RemoteWindow remote;
    return remote.Run(GetAncestor(GetHwnd(), GA_ROOT), link);
}
