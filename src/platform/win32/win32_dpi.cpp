#include "platform/win32/win32_dpi.h"

namespace grimsweep::win32 {

namespace {

using SetContextFunction = BOOL(WINAPI*)(HANDLE);
using SystemParametersForDpiFunction = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);

// DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2, which older headers do not name.
const HANDLE kPerMonitorAwareV2 = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-4));

template <typename Function> Function User32Function(const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

int ScreenDeviceCaps(int index) {
    HDC screen = GetDC(nullptr);
    const int value = screen ? GetDeviceCaps(screen, index) : 96;
    if (screen) {
        ReleaseDC(nullptr, screen);
    }
    return value > 0 ? value : 96;
}

} // namespace

void EnableDpiAwareness() {
    if (auto setContext = User32Function<SetContextFunction>("SetProcessDpiAwarenessContext")) {
        if (setContext(kPerMonitorAwareV2)) {
            return;
        }
    }
    // Either the manifest already made the process aware (the call then fails with access denied) or
    // the system is older: the system-wide awareness is the fallback.
    SetProcessDPIAware();
}

int ScreenDpiX() {
    return ScreenDeviceCaps(LOGPIXELSX);
}
int ScreenDpiY() {
    return ScreenDeviceCaps(LOGPIXELSY);
}

HFONT CreateUiFont(int dpi, bool bold, bool italic) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    bool scaled = false;
    if (auto forDpi = User32Function<SystemParametersForDpiFunction>("SystemParametersInfoForDpi")) {
        scaled = forDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, static_cast<UINT>(dpi)) != 0;
    }
    if (!scaled) {
        if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
            metrics.lfMessageFont = LOGFONTW{};
            metrics.lfMessageFont.lfHeight = -12;
            wcscpy_s(metrics.lfMessageFont.lfFaceName, L"Tahoma");
        }
        // The plain call answers for the system's resolution: rescale to the one asked for.
        const int systemDpi = ScreenDpiY();
        if (systemDpi != dpi) {
            metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, dpi, systemDpi);
        }
    }
    LOGFONTW font = metrics.lfMessageFont;
    if (bold) {
        font.lfWeight = FW_BOLD;
    }
    font.lfItalic = italic ? TRUE : FALSE;
    return CreateFontIndirectW(&font);
}

} // namespace grimsweep::win32
