// Real mouse input for the GUI tests: clicks go through the window system as a user's do.
#pragma once

#include "platform/win32/windows_api.h"

namespace grimsweep::gui {

// A real left click at a point of a window's client area.
void ClickAt(HWND window, int x, int y);
void ClickCentre(HWND window);

} // namespace grimsweep::gui
