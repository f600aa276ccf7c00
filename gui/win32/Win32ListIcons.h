#pragma once

#ifndef RC_INVOKED
#include <windows.h>
#include <commctrl.h>
#endif

// The resource id of the strip of the fourteen list icons (19 x 17 pixels
// each, in image-list order, on a magenta ground that is left transparent).
#define IDB_LIST_ICONS 200

#ifndef RC_INVOKED
// The image list of the directory page's list views; null when the strip
// cannot be loaded. The caller destroys it.
HIMAGELIST CreateListIcons();
#endif
