// What a window shows on the screen: its pixels, and a PNG file of them for a reviewer to look at.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32/windows_api.h"

namespace grimsweep::gui {

// The window's rectangle of the screen, 0x00RRGGBB per pixel, row by row from the top.
struct WindowImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};
WindowImage CaptureWindow(HWND window);

// How many different colours the window shows: 1 or 2 for an empty box.
std::size_t DistinctColours(HWND window);

bool SaveWindowPng(HWND window, const std::string& path);

} // namespace grimsweep::gui
