// Real mouse and keyboard input for the GUI tests: clicks and keys go through the window system as a
// user's do.
#pragma once

#include "platform/win32/windows_api.h"

#include <initializer_list>

namespace grimsweep::gui {

// A real left click at a point of a window's client area.
void ClickAt(HWND window, int x, int y);
void ClickCentre(HWND window);
// A real left click at a point while a key (VK_SHIFT, say) is held down.
void ClickAtHolding(HWND window, int x, int y, WORD key);
// A real mouse move to a point of a window's client area, or to its middle.
void MoveTo(HWND window, int x, int y);
void MoveToCentre(HWND window);
// Presses and releases each virtual key in turn, to whichever window has the keyboard focus.
void PressKeys(std::initializer_list<WORD> keys);

} // namespace grimsweep::gui
