// Saves what a window shows on the screen as a PNG file, for a reviewer to look at.
#pragma once

#include <string>

#include "platform/win32/windows_api.h"

namespace grimsweep::gui {

bool SaveWindowPng(HWND window, const std::string& path);

} // namespace grimsweep::gui
