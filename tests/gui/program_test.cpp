// The real grimsweep.exe, started as a user starts it and driven with real clicks: the first-run
// question, the navigation buttons, an option stored in the real registry, and a clean close.
#include "platform/win32/windows_api.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/run_at_startup.h"
#include "gui/mouse.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_system.h"
#include "screenshot.h"

namespace grimsweep::gui {
namespace {

const std::string kUserKey = "Software\\Lanternfish Software\\Grimsweep";
const std::string kMachineKey = "SOFTWARE\\Lanternfish Software\\Grimsweep";
const std::wstring kMainWindowTitle = L"[ProgramName] by [Company]";
const std::wstring kRunAtStartupCaption = L"Run at Startup and protect my computer automatically";

template <typename Condition> bool WaitUntil(Condition condition, int milliseconds) {
    const auto end = GetTickCount64() + static_cast<ULONGLONG>(milliseconds);
    while (GetTickCount64() < end) {
        if (condition()) {
            return true;
        }
        Sleep(100);
    }
    return condition();
}

HWND VisibleWindow(const wchar_t* windowClass, const std::wstring& title) {
    HWND window = FindWindowW(windowClass, title.c_str());
    return window && IsWindowVisible(window) ? window : nullptr;
}

std::wstring TextOf(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

// The first visible child window (at any depth) with that text.
HWND FindChild(HWND parent, const std::wstring& text) {
    struct Search {
        std::wstring text;
        HWND found = nullptr;
    } search{text};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            if (IsWindowVisible(child) && TextOf(child) == s->text) {
                s->found = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string UserSetting(win32::Win32Registry& registry, const std::string& section, const std::string& key) {
    RegistryValue value;
    if (registry.QueryValue(RegistryRoot::CurrentUser, kUserKey + "\\" + section, key, kKeyRead, value) !=
        kRegistryOk) {
        return "<unset>";
    }
    return value.text;
}

bool RunValuePresent(win32::Win32Registry& registry) {
    RegistryValue value;
    return registry.QueryValue(RegistryRoot::LocalMachine, std::string(kRunKeyPath), "grimsweep", kKeyRead,
                               value) == kRegistryOk;
}

TEST(ProgramGui, FirstStartPanelsOptionInTheRegistryAndCleanClose) {
    win32::Win32Registry registry;
    registry.DeleteKeyTree(RegistryRoot::CurrentUser, kUserKey);
    registry.DeleteKeyTree(RegistryRoot::LocalMachine, kMachineKey);
    registry.DeleteValue(RegistryRoot::LocalMachine, std::string(kRunKeyPath), "grimsweep");

    win32::Win32System system;
    const std::string own = system.OwnExecutablePath();
    std::wstring command = L"\"" + win32::Widen(own.substr(0, own.rfind('\\') + 1)) + L"grimsweep.exe\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &process));
    CloseHandle(process.hThread);

    // The first start on this machine offers Live Update; the user declines.
    HWND question = nullptr;
    ASSERT_TRUE(
        WaitUntil([&] { return (question = VisibleWindow(L"#32770", L"Update Now?")) != nullptr; }, 30000));
    HWND no = GetDlgItem(question, IDNO);
    ASSERT_NE(no, nullptr);
    ClickCentre(no);
    ASSERT_TRUE(WaitUntil([&] { return VisibleWindow(L"#32770", L"Update Now?") == nullptr; }, 10000));

    // The window is up once its load has ended and its navigation shows.
    HWND main = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            main = VisibleWindow(nullptr, kMainWindowTitle);
            return main && FindChild(main, L"Status") != nullptr;
        },
        30000));
    EXPECT_EQ(UserSetting(registry, "OptionAndSettings", "STATUS"), "RUNNING");
    RegistryValue firstTime;
    EXPECT_EQ(registry.QueryValue(RegistryRoot::LocalMachine, kMachineKey + "\\Settings", "FirstTime",
                                  kKeyRead, firstTime),
              kRegistryOk);
    // Wine may rebuild the window's controls once more as the new prefix settles: wait for all of them.
    const std::vector<std::wstring> navigation = {L"Status",          L"Scan Now", L"Settings",
                                                  L"Results/Removal", L"View Log", L"Live Update",
                                                  L"Send to Tray"};
    EXPECT_TRUE(WaitUntil(
        [&] {
            for (const auto& button : navigation) {
                if (!FindChild(main, button)) {
                    return false;
                }
            }
            return FindChild(main, L"Welcome to [ProgramName]") != nullptr;
        },
        10000));
    RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(1000);
    EXPECT_TRUE(SaveWindowPng(main, "program_status.png"));

    // The Scan panel, then the Options panel, with real clicks on the navigation buttons.
    ClickCentre(FindChild(main, L"Scan Now"));
    EXPECT_TRUE(WaitUntil([&] { return FindChild(main, L"Start") != nullptr; }, 5000));
    EXPECT_EQ(FindChild(main, L"Welcome to [ProgramName]"), nullptr);
    ClickCentre(FindChild(main, L"Settings"));
    HWND runAtStartup = nullptr;
    ASSERT_TRUE(
        WaitUntil([&] { return (runAtStartup = FindChild(main, kRunAtStartupCaption)) != nullptr; }, 5000));
    Sleep(500);
    EXPECT_TRUE(SaveWindowPng(main, "program_options.png"));

    // Ticking the box stores the option at once and adds the program to the Run key; unticking undoes it.
    ClickAt(runAtStartup, 8, 8);
    EXPECT_TRUE(WaitUntil(
        [&] { return UserSetting(registry, "OptionAndSettings", "chkRunAtStartup") == "1"; }, 5000));
    EXPECT_TRUE(RunValuePresent(registry));
    EXPECT_EQ(SendMessageW(runAtStartup, BM_GETCHECK, 0, 0), BST_CHECKED);
    ClickAt(runAtStartup, 8, 8);
    EXPECT_TRUE(WaitUntil(
        [&] { return UserSetting(registry, "OptionAndSettings", "chkRunAtStartup") == "0"; }, 5000));
    EXPECT_FALSE(RunValuePresent(registry));

    // The close box: the program records its stop and ends.
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 20000), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    CloseHandle(process.hProcess);
    EXPECT_EQ(UserSetting(registry, "OptionAndSettings", "STATUS"), "STOPPED");
    EXPECT_EQ(UserSetting(registry, "OptionAndSettings", "RESTART"), "False");
}

} // namespace
} // namespace grimsweep::gui
