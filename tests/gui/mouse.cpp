#include "gui/mouse.h"

namespace grimsweep::gui {

namespace {

// Mouse inputs that move to a point of a window's client area, each with the buttons given.
void SendAt(HWND window, int x, int y, std::initializer_list<DWORD> buttons) {
    POINT point{x, y};
    ClientToScreen(window, &point);
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    INPUT inputs[4]{};
    UINT count = 0;
    for (DWORD button : buttons) {
        INPUT& input = inputs[count++];
        input.type = INPUT_MOUSE;
        input.mi.dx = MulDiv(point.x, 65536, width) + 1;
        input.mi.dy = MulDiv(point.y, 65536, height) + 1;
        input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | button;
    }
    SendInput(count, inputs, sizeof(INPUT));
}

POINT Centre(HWND window) {
    RECT rect;
    GetClientRect(window, &rect);
    return {rect.right / 2, rect.bottom / 2};
}

} // namespace

void ClickAt(HWND window, int x, int y) {
    SendAt(window, x, y, {0, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
}

void ClickAtHolding(HWND window, int x, int y, WORD key) {
    INPUT press{};
    press.type = INPUT_KEYBOARD;
    press.ki.wVk = key;
    INPUT release = press;
    release.ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(1, &press, sizeof(INPUT));
    ClickAt(window, x, y);
    SendInput(1, &release, sizeof(INPUT));
}

void ClickCentre(HWND window) {
    const POINT centre = Centre(window);
    ClickAt(window, centre.x, centre.y);
}

void MoveTo(HWND window, int x, int y) {
    SendAt(window, x, y, {0});
}

void MoveToCentre(HWND window) {
    const POINT centre = Centre(window);
    MoveTo(window, centre.x, centre.y);
}

void PressKeys(std::initializer_list<WORD> keys) {
    for (WORD key : keys) {
        INPUT inputs[2]{};
        for (auto& input : inputs) {
            input.type = INPUT_KEYBOARD;
            input.ki.wVk = key;
        }
        inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, inputs, sizeof(INPUT));
        Sleep(100);
    }
}

} // namespace grimsweep::gui
