// The start-page alert of the real grimsweep.exe: with the program in the tray, another program changes
// the browser's start page with reg.exe; the alert comes up above everything, and Yes puts the page back.
#include "platform/win32/windows_api.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "gui/mouse.h"
#include "platform/win32/win32_registry.h"
#include "program_driver.h"
#include "screenshot.h"
#include "win32/helper_programs.h"

namespace grimsweep::gui {
namespace {

using namespace program;

const std::string kStartPageKey = "Software\\Microsoft\\Internet Explorer\\Main";
const std::string kStartPageValue = "Start Page";
const std::string kHomePage = "http://home.example/";
const std::string kHijackPage = "http://hijack.example/";

bool SetStartPageWithRegExe(const std::string& page) {
    win32::HelperProcess reg("reg add \"HKCU\\" + kStartPageKey + "\" /v \"" + kStartPageValue + "\" /d \"" +
                             page + "\" /f");
    return reg.Started() && reg.WaitForExit(30000) == std::optional<DWORD>(0);
}

std::string ReadText(win32::Win32Registry& registry, RegistryRoot root, const std::string& key,
                     const std::string& name) {
    RegistryValue value;
    return registry.QueryValue(root, key, name, kKeyRead, value) == kRegistryOk ? value.text : "<unset>";
}

TEST(StartPageAlertGui, AStartPageChangedWhileInTheTrayIsAskedAboutAndYesPutsItBack) {
    win32::Win32Registry registry;
    RegistryValue original;
    const bool hadStartPage = registry.QueryValue(RegistryRoot::CurrentUser, kStartPageKey, kStartPageValue,
                                                  kKeyRead, original) == kRegistryOk;
    // A returning user without settings: the first tick takes the page set as the protected one.
    StartAsReturningUser(registry);
    ASSERT_TRUE(SetStartPageWithRegExe(kHomePage));

    const auto [process, main] = StartToMainWindow();
    ASSERT_NE(main, nullptr);
    const std::string optionsKey = kUserKey + "\\OptionAndSettings";
    EXPECT_TRUE(WaitUntil(
        [&] { return ReadText(registry, RegistryRoot::CurrentUser, optionsKey, "Homepage") == kHomePage; },
        15000));

    // To the tray, then the page changes behind the program's back.
    ClickCentre(FindChild(main, L"Send to Tray"));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); }, 5000));
    ASSERT_TRUE(SetStartPageWithRegExe(kHijackPage));

    HWND alert = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            return (alert = FormShowing(process.dwProcessId, L"Grimsweep has detected that your Homepage")) !=
                   nullptr;
        },
        15000));
    EXPECT_NE(GetWindowLongW(alert, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_NE(FindChildWhere(alert,
                             [](const std::wstring& text) {
                                 return text.ends_with(L"Click No to change your homepage to:\r\n"
                                                       L"http://hijack.example/");
                             }),
              nullptr);
    Sleep(500);
    EXPECT_TRUE(SaveWindowPng(GetDesktopWindow(), "start_page_alert.png"));

    HWND yes = FindChild(alert, L"Yes");
    ASSERT_NE(yes, nullptr);
    for (int attempt = 0; attempt < 5 && IsWindow(alert) && IsWindowVisible(alert); ++attempt) {
        SetForegroundWindow(alert);
        ClickCentre(yes);
        WaitUntil([&] { return !IsWindow(alert) || !IsWindowVisible(alert); }, 2000);
    }
    EXPECT_TRUE(!IsWindow(alert) || !IsWindowVisible(alert)) << "Yes closes the alert";
    EXPECT_EQ(ReadText(registry, RegistryRoot::CurrentUser, kStartPageKey, kStartPageValue), kHomePage);
    EXPECT_EQ(ReadText(registry, RegistryRoot::CurrentUser, optionsKey, "Homepage"), kHomePage);

    CloseProgram(main, process);
    if (hadStartPage) {
        registry.SetValue(RegistryRoot::CurrentUser, kStartPageKey, kStartPageValue, original);
    } else {
        registry.DeleteValue(RegistryRoot::CurrentUser, kStartPageKey, kStartPageValue);
    }
}

} // namespace
} // namespace grimsweep::gui
