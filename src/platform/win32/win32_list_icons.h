// The small icons of the program's list views, drawn at run time at the system's small-icon size, in
// the order of the row icon numbers (ui/list_icons.h): 1 a cookie, 2 a registry entry, 3 a file or
// program, 4 a folder, 5 an excluded item. A row's icon number n is image n - 1 of the list.
#pragma once

#include "platform/win32/windows_api.h"

#include <commctrl.h>

#include "ui/list_icons.h"

namespace grimsweep::win32 {

// An image list of the five icons, each `size` pixels square; the caller destroys it.
HIMAGELIST CreateListIcons(int size);

} // namespace grimsweep::win32
