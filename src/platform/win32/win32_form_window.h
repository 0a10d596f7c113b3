// The window procedures: forms, panes (frames, picture boxes, shapes) and the hook on every control
// window. They turn user actions into calls on the model (clicks, ticks, tab and list choices, moves,
// close requests); changes the host makes itself are not passed on.
#pragma once

#include "platform/win32/windows_api.h"
#include "ui/control.h"

namespace grimsweep::win32 {

extern const wchar_t kFormClass[];
extern const wchar_t kPaneClass[];
extern const wchar_t kOwnerClass[];
void RegisterWindowClasses();

// Watches a control's window for mouse moves (the model's onMouseMove) and ties it to its control.
void HookControlWindow(HWND window, ui::Control& control);
// The control a child window renders, or nothing.
ui::Control* ControlOfWindow(HWND window);

} // namespace grimsweep::win32
