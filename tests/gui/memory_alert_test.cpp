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
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_shell.h"
#include "screenshot.h"
#include "win32/helper_programs.h"

namespace grimsweep::gui {
namespace {

const std::string kUserKey = "Software\\Lanternfish Software\\Grimsweep";
const std::string kMachineKey = "SOFTWARE\\Lanternfish Software\\Grimsweep";
const std::wstring kFormClass = L"GrimsweepForm";

template <typename Condition> bool WaitFor(Condition condition, int milliseconds) {
    const auto end = GetTickCount64() + static_cast<ULONGLONG>(milliseconds);
    while (GetTickCount64() < end) {
        if (condition()) {
            return true;
        }
        Sleep(100);
    }
    return condition();
}

std::wstring WindowText(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

struct ChildSearch {
    std::wstring text;
    HWND found = nullptr;
};

HWND VisibleChild(HWND parent, const std::wstring& text) {
    ChildSearch search{text};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<ChildSearch*>(data);
            if (IsWindowVisible(child) && WindowText(child) == s->text) {
                s->found = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct FormSearch {
    DWORD processId;
    std::wstring child;
    bool visibleOnly;
    HWND found = nullptr;
};

// A top-level form of the program holding a visible child with that text (the alert), or the main
// window, shown or hidden (child empty).
HWND ProgramForm(DWORD processId, const std::wstring& child, bool visibleOnly) {
    FormSearch search{processId, child, visibleOnly};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<FormSearch*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            wchar_t className[64] = {};
            GetClassNameW(window, className, 64);
            if (owner != s->processId || kFormClass != className ||
                (s->visibleOnly && !IsWindowVisible(window))) {
                return TRUE;
            }
            if (s->child.empty() ? WindowText(window).find(L" by ") != std::wstring::npos
                                 : VisibleChild(window, s->child) != nullptr) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND Alert(DWORD processId) {
    return ProgramForm(processId, L"Malicious Program Found", true);
}

bool Press(HWND alert, const std::wstring& caption, DWORD processId) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (HWND button = VisibleChild(alert, caption)) {
            ClickCentre(button);
        }
        if (WaitFor([&] { return Alert(processId) == nullptr; }, 3000)) {
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
    registry.DeleteKeyTree(RegistryRoot::CurrentUser, kUserKey);
    registry.SetValue(RegistryRoot::LocalMachine, kMachineKey + "\\Settings", "FirstTime",
                      RegistryValue::String("Yes"));
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
    ASSERT_TRUE(WaitFor([&] { return (main = ProgramForm(program.Id(), L"", false)) != nullptr; }, 30000));
    Sleep(1500);
    EXPECT_FALSE(IsWindowVisible(main)) << "the program sits in the tray";

    {
        win32::HelperProcess listed("\"" + threat + "\"");
        ASSERT_TRUE(listed.Started());
        HWND alert = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (alert = Alert(program.Id())) != nullptr; }, 25000));
        EXPECT_TRUE(GetWindowLongW(alert, GWL_EXSTYLE) & WS_EX_TOPMOST);
        EXPECT_NE(VisibleChild(alert, L"MEMDEMO.EXE"), nullptr);
        EXPECT_NE(VisibleChild(alert, L"GRIMSWEEP DEMO THREATS"), nullptr);
        Sleep(500);
        EXPECT_TRUE(SaveWindowPng(GetDesktopWindow(), "memory_alert.png"));
        EXPECT_TRUE(Press(alert, L"STOP", program.Id()));
        EXPECT_TRUE(WaitFor([&] { return !listed.Running(); }, 5000)) << "STOP ends the listed program";
    }
    {
        win32::HelperProcess listed("\"" + threat + "\"");
        HWND alert = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (alert = Alert(program.Id())) != nullptr; }, 25000));
        EXPECT_TRUE(Press(alert, L"ALLOW", program.Id()));
        EXPECT_EQ(files.ReadFile(exclusions).value_or(""), "MEMDEMO.EXE\r\n");
        // The next ticks (every ten seconds) leave the allowed program alone.
        EXPECT_FALSE(WaitFor([&] { return Alert(program.Id()) != nullptr; }, 22000));
        EXPECT_TRUE(listed.Running());
        EXPECT_EQ(files.ReadFile(exclusions).value_or(""), "MEMDEMO.EXE\r\n");
    }

    // Closing the program while an alert waits for its answer ends the program; the program named stays.
    win32::HelperProcess last("\"" + folder + "\\memlast.exe\"");
    EXPECT_TRUE(WaitFor([&] { return Alert(program.Id()) != nullptr; }, 25000));
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
