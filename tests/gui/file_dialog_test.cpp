// The system's file-open dialog, opened by the Options panel's Browse button in the real grimsweep.exe:
// the name of a file chosen in it lands in the file name box; Cancel leaves the box as it was.
#include "platform/win32/windows_api.h"

#include <gtest/gtest.h>

#include <string>

#include "gui/mouse.h"
#include "gui/program_driver.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_shell.h"
#include "screenshot.h"

namespace grimsweep::gui {
namespace {

using namespace program;

// The process's visible common dialog.
HWND OpenDialog(DWORD processId) {
    HWND found = nullptr;
    for (HWND window = FindWindowW(L"#32770", nullptr); window && !found;
         window = FindWindowExW(nullptr, window, L"#32770", nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && IsWindowVisible(window)) {
            found = window;
        }
    }
    return found;
}

// The dialog's file name box: its only edit box that shows.
HWND FileNameBox(HWND dialog) {
    return FindChildOfClass(dialog, L"Edit");
}

// Clicks Browse until the dialog is up.
HWND OpenBrowse(HWND main, DWORD processId) {
    HWND dialog = nullptr;
    for (int attempt = 0; attempt < 5 && !dialog; ++attempt) {
        if (HWND browse = FindChild(main, L"Browse")) {
            SetForegroundWindow(main);
            ClickCentre(browse);
        }
        WaitUntil([&] { return (dialog = OpenDialog(processId)) != nullptr; }, 3000);
    }
    return dialog;
}

TEST(FileDialogGui, BrowseFillsTheFileNameWithTheChosenFileAndCancelKeepsIt) {
    win32::Win32Registry registry;
    win32::Win32FileSystem files;
    win32::Win32Shell shell;
    StartAsReturningUser(registry);
    const std::string chosen = shell.SpecialFolderPath(26).value_or("C:") + "\\grimsweep pick.exe";
    ASSERT_TRUE(files.WriteFile(chosen, "MZ"));

    const auto [process, main] = StartToMainWindow();
    ASSERT_NE(main, nullptr);
    for (int attempt = 0; attempt < 5 && !FindChild(main, L"Browse"); ++attempt) {
        SetForegroundWindow(main);
        ClickCentre(FindChild(main, L"Settings"));
        WaitUntil([&] { return FindChild(main, L"Browse") != nullptr; }, 2000);
    }
    HWND fileName = FindChildOfClass(main, L"Edit");
    ASSERT_NE(fileName, nullptr);

    HWND dialog = OpenBrowse(main, process.dwProcessId);
    ASSERT_NE(dialog, nullptr) << "the system's file-open dialog";
    EXPECT_FALSE(IsWindowEnabled(main)) << "modal over the main window";
    Sleep(500);
    EXPECT_TRUE(SaveWindowPng(dialog, "file_open_dialog.png"));
    HWND box = FileNameBox(dialog);
    ASSERT_NE(box, nullptr);
    const std::wstring wide = win32::Widen(chosen);
    SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    ClickCentre(GetDlgItem(dialog, IDOK));
    EXPECT_TRUE(WaitUntil([&] { return OpenDialog(process.dwProcessId) == nullptr; }, 10000));
    // The box takes the chosen file's name, without its folder.
    const std::wstring name = L"grimsweep pick.exe";
    EXPECT_TRUE(WaitUntil([&] { return ControlText(fileName) == name; }, 5000))
        << win32::Narrow(ControlText(fileName));

    // Cancel: the box keeps the file chosen before.
    dialog = OpenBrowse(main, process.dwProcessId);
    ASSERT_NE(dialog, nullptr);
    ClickCentre(GetDlgItem(dialog, IDCANCEL));
    EXPECT_TRUE(WaitUntil([&] { return OpenDialog(process.dwProcessId) == nullptr; }, 10000));
    Sleep(300);
    EXPECT_EQ(ControlText(fileName), name);

    CloseProgram(main, process);
    files.DeleteFile(chosen);
}

} // namespace
} // namespace grimsweep::gui
