// The memory shield in the real grimsweep.exe: the program sits in the tray, a listed program starts, and
// the alert comes up over the desktop; STOP ends that program, ALLOW excludes it for good.
#include "platform/win32/windows_api.h"

#include <gtest/gtest.h>

#include <string>

#include "core/settings_keys.h"
#include "definitions/definition_files.h"
#include "definitions/exclusion_list.h"
#include "definitions/line_code.h"
#include "gui/mouse.h"
#include "gui/program_driver.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_shell.h"
#include "screenshot.h"
#include "win32/helper_programs.h"

namespace grimsweep::gui {
namespace {

using namespace program;

// The main window, shown or hidden: while the program sits in the tray it is hidden.
HWND MainWindowOf(DWORD processId) {
    struct Search {
        DWORD processId;
        HWND found = nullptr;
    } search{processId};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == s->processId && TextOf(window) == kMainWindowTitle) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND Alert(DWORD processId) {
    return FormShowing(processId, L"Malicious Program Found");
}

bool Press(HWND alert, const std::wstring& caption, DWORD processId) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (HWND button = FindChild(alert, caption)) {
            ClickCentre(button);
        }
        if (WaitUntil([&] { return Alert(processId) == nullptr; }, 3000)) {
            return true;
        }
    }
    return false;
}

TEST(MemoryAlertGui, AListedProgramStartedWhileInTheTrayIsStoppedOrAllowedFromTheAlert) {
    win32::Win32Registry registry;
    win32::Win32FileSystem files;
    win32::Win32Shell shell;
    // A returning user whose program starts in the tray, with both shields on.
    StartAsReturningUser(registry);
    registry.CreateKey(RegistryRoot::CurrentUser, kUserKey + "\\Settings");
    registry.SetValue(RegistryRoot::CurrentUser, kUserKey + "\\Settings", std::string(settings::kMinimized),
                      RegistryValue::String(std::string(settings::kMinimizedYes)));

    const std::string data = shell.SpecialFolderPath(26).value_or("C:") + "\\AntiSpywareDAT";
    const std::string folder = shell.SpecialFolderPath(38).value_or("C:") + "\\GUI Memory Demo";
    const std::string threat = folder + "\\memdemo.exe";
    files.CreateFolder(data);
    files.CreateFolder(folder);
    ASSERT_TRUE(files.CopyFile(win32::BesideTestProgram(GRIMSWEEP_DEMO_THREAT_NAME), threat, false));
    ASSERT_TRUE(files.WriteFile(data + "\\" + std::string(kExeDefinitionFile),
                                EncodeDefinitionLine("memdemo.exe=GUI Memory Threat|" + folder) + "\r\n" +
                                    EncodeDefinitionLine("memlast.exe=GUI Memory Threat|" + folder) +
                                    "\r\n"));
    ASSERT_TRUE(files.CopyFile(threat, folder + "\\memlast.exe", false));
    const std::string exclusions = data + "\\" + std::string(kExclusionFile);
    files.DeleteFile(exclusions);

    win32::HelperProcess program("\"" + win32::BesideTestProgram(GRIMSWEEP_EXE_NAME) + "\"");
    ASSERT_TRUE(program.Started());
    HWND main = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (main = MainWindowOf(program.Id())) != nullptr; }, 30000));
    Sleep(1500);
    EXPECT_FALSE(IsWindowVisible(main)) << "the program sits in the tray";

    {
        win32::HelperProcess listed("\"" + threat + "\"");
        ASSERT_TRUE(listed.Started());
        HWND alert = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (alert = Alert(program.Id())) != nullptr; }, 25000));
        EXPECT_TRUE(GetWindowLongW(alert, GWL_EXSTYLE) & WS_EX_TOPMOST);
        EXPECT_NE(FindChild(alert, L"MEMDEMO.EXE"), nullptr);
        EXPECT_NE(FindChild(alert, L"GRIMSWEEP DEMO THREATS"), nullptr);
        Sleep(500);
        EXPECT_TRUE(SaveWindowPng(GetDesktopWindow(), "memory_alert.png"));
        EXPECT_TRUE(Press(alert, L"STOP", program.Id()));
        EXPECT_TRUE(WaitUntil([&] { return !listed.Running(); }, 5000)) << "STOP ends the listed program";
    }
    {
        win32::HelperProcess listed("\"" + threat + "\"");
        HWND alert = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (alert = Alert(program.Id())) != nullptr; }, 25000));
        EXPECT_TRUE(Press(alert, L"ALLOW", program.Id()));
        EXPECT_EQ(files.ReadFile(exclusions).value_or(""), "MEMDEMO.EXE\r\n");
        // The next ticks (every ten seconds) leave the allowed program alone.
        EXPECT_FALSE(WaitUntil([&] { return Alert(program.Id()) != nullptr; }, 22000));
        EXPECT_TRUE(listed.Running());
        EXPECT_EQ(files.ReadFile(exclusions).value_or(""), "MEMDEMO.EXE\r\n");
    }

    // Closing the program while an alert waits for its answer ends the program; the program named stays.
    win32::HelperProcess last("\"" + folder + "\\memlast.exe\"");
    EXPECT_TRUE(WaitUntil([&] { return Alert(program.Id()) != nullptr; }, 25000));
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(program.WaitForExit(20000).has_value()) << "the program closes while the alert waits";
    EXPECT_TRUE(last.Running());
    last.Stop();
    files.DeleteFile(exclusions);
    files.DeleteFile(data + "\\" + std::string(kExeDefinitionFile));
    files.DeleteFolder(folder);
}

} // namespace
} // namespace grimsweep::gui
