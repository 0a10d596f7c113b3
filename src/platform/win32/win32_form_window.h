// The window procedures: forms, panes (frames, picture boxes, shapes) and the hook on every control
// window. They turn user actions into calls on the model (clicks, ticks, tab and list choices, moves,
// close requests); changes the host makes itself are not passed on.
#pragma once

#include "platform/win32/win32_failure_report.h"
#include "platform/win32/windows_api.h"
#include "ui/control.h"

namespace grimsweep::win32 {

extern const wchar_t kFormClass[];
extern const wchar_t kPaneClass[];
extern const wchar_t kOwnerClass[];
// Registers the window classes of forms, panes and the hidden owner, with the program's icons as class
// icons (none when null); a class that cannot be registered is reported.
void RegisterWindowClasses(HICON bigIcon, HICON smallIcon, FailureReport& failures);
// Unregisters them once the last host has destroyed its windows (a later host registers them afresh).
void UnregisterWindowClasses();

// Watches a control's window for mouse moves (the model's onMouseMove) and ties it to its control.
void HookControlWindow(HWND window, ui::Control& control);
// The control a child window renders, or nothing.
ui::Control* ControlOfWindow(HWND window);

} // namespace grimsweep::win32
