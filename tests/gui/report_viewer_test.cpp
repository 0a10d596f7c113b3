// The report viewer in the real grimsweep.exe: "View Log" opens it over the main window with the last
// report single-spaced in a read-only text box, and OK closes it.
#include "platform/win32/windows_api.h"

#include <gtest/gtest.h>

#include <string>

#include "definitions/definition_files.h"
#include "gui/mouse.h"
#include "gui/program_driver.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_shell.h"
#include "report/scan_report.h"
#include "screenshot.h"

namespace grimsweep::gui {
namespace {

using namespace program;

TEST(ReportViewerGui, ViewLogShowsTheReportSingleSpacedAndOkClosesIt) {
    win32::Win32Registry registry;
    win32::Win32FileSystem files;
    win32::Win32Shell shell;
    StartAsReturningUser(registry);
    const std::string data = shell.SpecialFolderPath(26).value_or("C:") + "\\AntiSpywareDAT";
    files.CreateFolder(data);
    for (const auto& definition : kDefinitionFiles) {
        files.WriteFile(data + "\\" + std::string(definition.name), "");
    }
    const std::string report = data + "\\" + std::string(kReportFileName);
    // "Müll" in the English code page.
    ASSERT_TRUE(files.WriteFile(report, "\r\n\r\nGUI report M\xFCll\r\n\r\nsecond\r\n\r\nthird\r\n"));

    const auto [process, main] = StartToMainWindow();
    ASSERT_NE(main, nullptr);
    // A click can be lost while Wine is still settling the new window: it is retried.
    HWND viewer = nullptr;
    for (int attempt = 0; attempt < 5 && !viewer; ++attempt) {
        if (HWND viewLog = FindChild(main, L"View Log")) {
            SetForegroundWindow(main);
            ClickCentre(viewLog);
        }
        WaitUntil([&] { return (viewer = VisibleForm(process.dwProcessId, L"Grimsweep Log")) != nullptr; },
                  2000);
    }
    EXPECT_NE(viewer, nullptr);
    if (viewer) {
        HWND edit = FindWindowExW(viewer, nullptr, L"Edit", nullptr);
        ASSERT_NE(edit, nullptr);
        const auto style = static_cast<DWORD>(GetWindowLongPtrW(edit, GWL_STYLE));
        EXPECT_TRUE(style & ES_MULTILINE);
        EXPECT_TRUE(style & ES_READONLY);
        const std::wstring expected = L"\r\n\r\nGUI report M\u00fcll\r\nsecond\r\nthird";
        // The viewer fills its text line by line while it is already up.
        WaitUntil([&] { return ControlText(edit) == expected; }, 5000);
        EXPECT_EQ(ControlText(edit), expected);
        EXPECT_FALSE(IsWindowEnabled(main)) << "the viewer is modal";
        Sleep(300);
        EXPECT_TRUE(SaveWindowPng(viewer, "report_viewer.png"));
        HWND ok = FindChild(viewer, L"OK");
        ASSERT_NE(ok, nullptr);
        ClickCentre(ok);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(viewer); }, 10000));
        EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(main) != FALSE; }, 5000));
    }
    CloseProgram(main, process);
    files.DeleteFile(report);
    for (const auto& definition : kDefinitionFiles) {
        files.DeleteFile(data + "\\" + std::string(definition.name));
    }
}

} // namespace
} // namespace grimsweep::gui
