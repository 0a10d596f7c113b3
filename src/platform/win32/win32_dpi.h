// Dots per inch of the screen, twips to pixels (1440 twips per inch), and the system's UI font at that
// resolution.
#pragma once

#include "platform/win32/windows_api.h"

namespace grimsweep::win32 {

// Makes the process per-monitor DPI aware where the system offers it (Windows 10 and later); older
// systems and Wine keep whatever the manifest declared. Safe to call more than once.
void EnableDpiAwareness();

// The screen's horizontal and vertical dots per inch (96 at 100% scaling).
int ScreenDpiX();
int ScreenDpiY();

struct TwipsScale {
    int dpiX = 96;
    int dpiY = 96;

    int XToPixels(int twips) const { return MulDiv(twips, dpiX, 1440); }
    int YToPixels(int twips) const { return MulDiv(twips, dpiY, 1440); }
    int XToTwips(int pixels) const { return MulDiv(pixels, 1440, dpiX); }
    int YToTwips(int pixels) const { return MulDiv(pixels, 1440, dpiY); }
    double TwipsPerPixelX() const { return 1440.0 / dpiX; }
    double TwipsPerPixelY() const { return 1440.0 / dpiY; }
};

// The message font of the system (the font dialogs and controls use), for the given resolution; the
// caller deletes it.
HFONT CreateUiFont(int dpi, bool bold, bool italic);

} // namespace grimsweep::win32
