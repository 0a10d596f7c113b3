// The menu bar of a form, built from its Menu controls: a menu without container is a top-level menu
// (in the bar when visible, a popup kept for later use when hidden); the items of a menu have it as
// container, and an item with items of its own is a submenu.
#pragma once

#include "platform/win32/windows_api.h"
#include "ui/form.h"

namespace grimsweep::win32 {

// Replaces the form window's menu bar with one built from the model (no bar when there are no
// visible top-level menus).
void RebuildMenuBar(ui::Form& form);

// The items of a menu as a popup, for the hidden (context) menus; the caller destroys it.
HMENU BuildPopupMenu(const ui::Form& form, const ui::Control& menu);

} // namespace grimsweep::win32
