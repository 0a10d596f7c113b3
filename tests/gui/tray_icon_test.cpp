// The notification-area icon on a real window under Wine and Xvfb: added, changed and removed through
// the shell, with its mouse messages arriving as the window's mouse-move message.
#include "platform/win32/windows_api.h"

#include <shellapi.h>

#include <gtest/gtest.h>

#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_ui_host.h"
#include "shell/tray_icon.h"
#include "ui/form.h"

namespace grimsweep::gui {
namespace {

TEST(TrayIconGui, IconLivesOnTheWindowAndItsClicksReachTheForm) {
    win32::Win32UiHost host;
    win32::Win32Shell shell;
    ui::Form form(host, "frmTrayTest");
    form.SetCaption("Grimsweep tray test");
    form.SetIconResource("AAA");
    std::vector<int> messages;
    form.onMouseMove = [&](int x) { messages.push_back(static_cast<int>(x / host.TwipsPerPixelX() + 0.5)); };
    form.Show();
    ASSERT_NE(form.hostHandle, 0u);

    TrayIcon tray(shell);
    tray.ShowIcon(form);
    EXPECT_TRUE(tray.bRunningInTray);
    NotifyIconRequest request;
    request.window = form.hostHandle;
    request.callbackMessage = kTrayCallbackMessage;
    request.iconResource = "AAA";
    request.tip = "Grimsweep";
    EXPECT_TRUE(shell.NotifyIcon(NotifyIconAction::Modify, request));

    // The icon is the window's icon number 1.
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = reinterpret_cast<HWND>(form.hostHandle);
    data.uFlags = NIF_TIP;
    wcscpy_s(data.szTip, L"Grimsweep");
    data.uID = 1;
    EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &data));
    data.uID = 0;
    EXPECT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &data));

    // The shell calls back with the mouse message in the position's place, as a click on the icon does.
    HWND window = reinterpret_cast<HWND>(form.hostHandle);
    PostMessageW(window, WM_MOUSEMOVE, 0, kTrayLeftDown);
    PostMessageW(window, WM_MOUSEMOVE, 0, kTrayLeftDoubleClick);
    const auto end = GetTickCount64() + 2000;
    while (messages.size() < 2 && GetTickCount64() < end) {
        host.PumpMessages();
        Sleep(10);
    }
    EXPECT_EQ(messages, (std::vector<int>{kTrayLeftDown, kTrayLeftDoubleClick}));

    tray.RemoveIcon(form);
    EXPECT_FALSE(tray.bRunningInTray);
    EXPECT_FALSE(shell.NotifyIcon(NotifyIconAction::Modify, request)); // gone
    EXPECT_NE(FindWindowW(L"Shell_TrayWnd", nullptr), nullptr);
    const ScreenRect taskbar = host.TaskbarRect();
    const ScreenRect desktop = host.DesktopRect();
    EXPECT_GT(desktop.right, 0);
    EXPECT_LE(taskbar.bottom - taskbar.top, desktop.bottom);
    form.Unload();
}

} // namespace
} // namespace grimsweep::gui
