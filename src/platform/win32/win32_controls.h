// The real window of each control of the model: which window class and style a control type becomes,
// where it lies on the screen, and how a change of the model reaches the window.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/win32/windows_api.h"
#include "ui/control.h"

namespace grimsweep::win32 {

class Win32UiHost;

// Command and timer identifiers: a control's place in its form's list, from 1000 up.
int ControlId(const ui::Control& control);
ui::Control* ControlFromId(const ui::Form& form, WPARAM id);

HWND WindowOf(const ui::Form& form);
HWND WindowOf(const ui::Control& control);

// Creates the control's window (and its container's first, when needed); menus are no windows, timers
// are armed on the form's window.
void CreateControlWindow(Win32UiHost& host, ui::Control& control);
void UpdateControlWindow(Win32UiHost& host, ui::Control& control, ui::Change change);
void PlaceControlWindow(Win32UiHost& host, const ui::Control& control);
void ArmTimer(const ui::Control& timer);

// A colour of the model (RGB, or a system colour with the high bit set) as the GDI takes it.
COLORREF ToColorRef(std::uint32_t color);
// The back colour a control shows: its own, else its nearest container's; nothing for the default.
std::optional<COLORREF> InheritedBackColor(const ui::Control& control);

} // namespace grimsweep::win32
