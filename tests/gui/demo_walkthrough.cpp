// The demo's walk through the installed program, started by scripts/run on its demo machine (threats
// planted, a definition service running and named in Grimsweep.ini): the Status panel, a Live Update, a
// scan with everything removed and one item restored, the Options pages and the scan report, each saved
// as a screenshot in the working folder. Not part of the test run: it needs that machine.
#include "platform/win32/windows_api.h"

#include <gtest/gtest.h>

#include <string>

#include "gui/mouse.h"
#include "gui/program_actions.h"
#include "gui/program_driver.h"
#include "screenshot.h"

namespace grimsweep::gui {
namespace {

using namespace program;

// The program the demo installed, named by GRIMSWEEP_DEMO_PROGRAM (a Windows path); without it, the one
// beside this test program.
std::wstring DemoProgram() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"GRIMSWEEP_DEMO_PROGRAM", path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(path, length) : std::wstring();
}

void SaveMain(HWND main, const std::string& shot) {
    RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(500);
    EXPECT_TRUE(SaveWindowPng(main, shot));
}

// Live Update from the navigation button, as far as the notice that says the definitions changed.
void LiveUpdate(HWND main, DWORD processId) {
    HWND notice = nullptr;
    EXPECT_TRUE(ClickUntil(main, L"Live Update", [&] {
        return VisibleForm(processId, L"Grimsweep Live Update") != nullptr ||
               (notice = FormShowing(processId, L"Your ", L" definitions have been updated!")) != nullptr;
    }));
    EXPECT_TRUE(WaitUntil(
        [&] {
            return (notice = FormShowing(processId, L"Your ", L" definitions have been updated!")) != nullptr;
        },
        60000))
        << "the published record came down";
    if (notice) {
        EXPECT_TRUE(SaveAndCloseNotice(notice, "02-live-update.png"));
    }
}

// The scan report, as the View Log button shows it.
void ViewReport(HWND main, DWORD processId) {
    HWND viewer = nullptr;
    EXPECT_TRUE(ClickUntil(main, L"View Log",
                           [&] { return (viewer = VisibleForm(processId, L"Grimsweep Log")) != nullptr; }));
    if (!viewer) {
        return;
    }
    Sleep(1500); // the viewer fills its text line by line while it is up
    EXPECT_TRUE(SaveWindowPng(viewer, "09-report.png"));
    EXPECT_TRUE(ClickUntil(viewer, L"OK", [&] { return !IsWindowVisible(viewer); }));
}

TEST(DemoWalkthrough, DISABLED_InstalledProgram) {
    const auto [process, main] = StartToMainWindow(DemoProgram());
    ASSERT_NE(main, nullptr);
    SaveMain(main, "01-status.png");

    LiveUpdate(main, process.dwProcessId);
    SaveMain(main, "03-status-after-update.png");

    const ScanRows rows = ScanInTheProgram(main, process.dwProcessId, "04-scan.png", "05-results.png",
                                           {"06-results-after-removal.png", "07-restore.png", true});
    EXPECT_GT(rows.found, 0);
    EXPECT_TRUE(rows.allTicked);
    EXPECT_TRUE(rows.restoreTicked && rows.restoreAnswered) << "one item restored";

    // The Options pages, each from its entry on the Settings menu (the second on the bar).
    for (int page = 0; page < 4; ++page) {
        ChooseMenuItem(main, 1, page);
        Sleep(700);
        SaveMain(main, "08-options-" + std::to_string(page + 1) + ".png");
    }

    ViewReport(main, process.dwProcessId);
    CloseProgram(main, process);
}

} // namespace
} // namespace grimsweep::gui
