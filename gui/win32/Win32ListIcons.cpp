#include "gui/win32/Win32ListIcons.h"

#include "link/VarTypes.h"

HIMAGELIST CreateListIcons()
{
    HBITMAP strip = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_LIST_ICONS),
                                                    IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
    if (strip == nullptr)
        return nullptr;
    HIMAGELIST icons = ImageList_Create(19, 17, ILC_COLOR24 | ILC_MASK, ICON_COUNT, 1);
    if (icons != nullptr && ImageList_AddMasked(icons, strip, RGB(255, 0, 255)) < 0) {
        ImageList_Destroy(icons);
        icons = nullptr;
    }
    DeleteObject(strip);
    return icons;
}
