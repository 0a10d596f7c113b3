// The small icons of the program's list views, drawn at run time at the system's small-icon size:
// 1 a file or program, 2 a registry entry, 3 a folder, 4 an excluded item, 5 a cookie. A row's icon
// index n is image n - 1 of the list.
#pragma once

#include "platform/win32/windows_api.h"

#include <commctrl.h>

namespace grimsweep::win32 {

constexpr int kListIconCount = 5;

// An image list of the five icons, each `size` pixels square; the caller destroys it.
HIMAGELIST CreateListIcons(int size);

} // namespace grimsweep::win32
