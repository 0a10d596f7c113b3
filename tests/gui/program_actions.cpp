#include "gui/program_actions.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include "gui/mouse.h"
#include "gui/program_driver.h"
#include "screenshot.h"

namespace grimsweep::gui::program {

HWND VisibleWindow(const wchar_t* windowClass, const std::wstring& title) {
    HWND window = FindWindowW(windowClass, title.c_str());
    return window && IsWindowVisible(window) ? window : nullptr;
}

void ChooseMenuItem(HWND window, int menuIndex, int itemIndex) {
    SetForegroundWindow(window);
    Sleep(200);
    PressKeys({VK_F10});
    Sleep(200);
    for (int i = 0; i < menuIndex; ++i) {
        PressKeys({VK_RIGHT});
    }
    PressKeys({VK_DOWN});
    Sleep(300);
    for (int i = 0; i < itemIndex; ++i) {
        PressKeys({VK_DOWN});
    }
    PressKeys({VK_RETURN});
}

bool Settled(HWND window) {
    RECT before;
    GetWindowRect(window, &before);
    Sleep(300);
    RECT after;
    GetWindowRect(window, &after);
    return EqualRect(&before, &after) != FALSE;
}

HWND VisibleListView(HWND main) {
    RECT client{};
    GetClientRect(main, &client);
    MapWindowPoints(main, nullptr, reinterpret_cast<POINT*>(&client), 2);
    for (HWND list : ChildrenOfClass(main, WC_LISTVIEWW)) {
        RECT rect{};
        GetWindowRect(list, &rect);
        RECT overlap{};
        if (IntersectRect(&overlap, &rect, &client)) {
            return list;
        }
    }
    return nullptr;
}

std::wstring ClipboardText() {
    std::wstring text;
    if (!OpenClipboard(nullptr)) {
        return text;
    }
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

void RemoveInTheRealWindow(HWND main, HWND removal, ScanRows& rows) {
    HWND box = nullptr;
    EXPECT_TRUE(ClickUntil(main, L"Delete",
                           [&] { return (box = VisibleWindow(L"#32770", L"Really Delete?")) != nullptr; }));
    if (!box) {
        return;
    }
    ClickCentre(GetDlgItem(box, IDYES));
    // The removal has ended when Delete is enabled again; the problem window may already show after its
    // first pass.
    HWND deleteButton = FindChild(main, L"Delete");
    EXPECT_TRUE(WaitUntil(
        [&] {
            rows.problemWindow = VisibleWindow(nullptr, L"Delete Failed") != nullptr;
            rows.afterRemoval = removal ? SendMessageW(removal, LVM_GETITEMCOUNT, 0, 0) : -1;
            const bool ended = deleteButton && IsWindowEnabled(deleteButton);
            return ended && (rows.problemWindow || rows.afterRemoval == 0);
        },
        60000));
    Sleep(800);
}

void RestoreInTheRealWindow(HWND restore, const AfterScan& after, ScanRows& rows) {
    Sleep(500);
    HWND list = VisibleListView(restore);
    rows.restoreListed = list ? SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) : -1;
    EXPECT_TRUE(SaveWindowPng(restore, after.restoreShot));
    if (after.restoreFirst && list && rows.restoreListed > 0) {
        const auto ticked = [&] {
            return (SendMessageW(list, LVM_GETITEMSTATE, 0, LVIS_STATEIMAGEMASK) >> 12) == 2;
        };
        // The first row lies below the header; its check box at the left end. (Another program's list view
        // cannot be asked for a row's rectangle: the answer would land in that program's memory.)
        RECT header{};
        GetWindowRect(FindWindowExW(list, nullptr, WC_HEADERW, nullptr), &header);
        const int rowMiddle = static_cast<int>(header.bottom - header.top) + 9;
        for (int attempt = 0; attempt < 5 && !ticked(); ++attempt) {
            ClickAt(list, 10, rowMiddle);
            if (!WaitUntil(ticked, 1000)) {
                // Selected by the click: the space key ticks the selected row.
                PressKeys({VK_SPACE});
                WaitUntil(ticked, 1000);
            }
        }
        rows.restoreTicked = ticked();
        HWND box = nullptr;
        EXPECT_TRUE(ClickUntil(restore, L"Restore",
                               [&] { return (box = VisibleWindow(L"#32770", L"Grimsweep")) != nullptr; }));
        if (box) {
            ClickCentre(GetDlgItem(box, IDOK));
            rows.restoreAnswered =
                WaitUntil([&] { return VisibleWindow(L"#32770", L"Grimsweep") == nullptr; }, 5000);
        }
    }
    rows.restoreClosed = ClickUntil(restore, L"Close", [&] { return !IsWindowVisible(restore); });
}

ScanRows ScanInTheProgram(HWND main, DWORD processId, const std::string& scanShot,
                          const std::string& resultsShot, const AfterScan& after) {
    ScanRows rows;
    if (ClickUntil(main, L"Scan Now", [&] { return FindChild(main, L"Start") != nullptr; })) {
        // Start turns itself off while the scan runs; a scan is started once.
        EXPECT_TRUE(ClickUntil(main, L"Start", [&] {
            HWND start = FindChild(main, L"Start");
            return !start || !IsWindowEnabled(start) || FindChild(main, L"Scanning complete.") != nullptr;
        }));
        EXPECT_TRUE(WaitUntil([&] { return FindChild(main, L"Scanning complete.") != nullptr; }, 120000));
        if (HWND found = VisibleListView(main)) {
            rows.found = SendMessageW(found, LVM_GETITEMCOUNT, 0, 0);
        }
        Sleep(500);
        EXPECT_TRUE(SaveWindowPng(main, scanShot));
        EXPECT_TRUE(ClickUntil(main, L"Click Here to Continue",
                               [&] { return FindChild(main, L"Select All") != nullptr; }));
        HWND removal = VisibleListView(main);
        if (removal) {
            rows.removal = SendMessageW(removal, LVM_GETITEMCOUNT, 0, 0);
        }
        Sleep(500);
        EXPECT_TRUE(SaveWindowPng(main, resultsShot));
        const auto allTicked = [&] {
            for (LRESULT row = 0; removal && row < rows.removal; ++row) {
                // State image 2 is the ticked box.
                if ((SendMessageW(removal, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK) >>
                     12) != 2) {
                    return false;
                }
            }
            return removal != nullptr;
        };
        rows.allTicked = ClickUntil(main, L"Select All", allTicked);
        if (!after.removedShot.empty()) {
            RemoveInTheRealWindow(main, removal, rows);
            EXPECT_TRUE(SaveWindowPng(main, after.removedShot));
            if (HWND problems = VisibleWindow(nullptr, L"Delete Failed")) {
                EXPECT_TRUE(SaveWindowPng(problems, "delete-failed.png"));
                ClickUntil(problems, L"Copy List",
                           [&] { return !(rows.copiedList = ClipboardText()).empty(); });
                rows.problemWindowClosed =
                    ClickUntil(problems, L"Ok", [&] { return !IsWindowVisible(problems); });
            }
        }
        if (!after.restoreShot.empty()) {
            HWND restore = nullptr;
            // Quarantine is the third menu on the bar, Restore... its third item.
            ChooseMenuItem(main, 2, 2);
            EXPECT_TRUE(WaitUntil(
                [&] { return (restore = VisibleForm(processId, L"Restore from Quarantine")) != nullptr; },
                10000));
            if (restore) {
                RestoreInTheRealWindow(restore, after, rows);
            }
        }
    }
    return rows;
}

ScanRows ScanInTheRealWindow(const std::string& scanShot, const std::string& resultsShot,
                             const AfterScan& after) {
    const auto [process, main] = StartToMainWindow();
    EXPECT_NE(main, nullptr);
    ScanRows rows;
    if (main) {
        rows = ScanInTheProgram(main, process.dwProcessId, scanShot, resultsShot, after);
    }
    if (process.hProcess) {
        CloseProgram(main, process);
    }
    return rows;
}

HWND FormShowing(DWORD processId, const std::wstring& head, const std::wstring& tail) {
    for (HWND window : TopLevelWindows(processId, kFormClass, L"", true)) {
        if (FindChildWhere(window, [&](const std::wstring& text) {
                return text.starts_with(head) && text.ends_with(tail);
            })) {
            return window;
        }
    }
    return nullptr;
}

bool SaveAndCloseNotice(HWND notice, const std::string& shot) {
    EXPECT_TRUE(WaitUntil([&] { return Settled(notice); }, 10000));
    RECT rect{};
    GetWindowRect(notice, &rect);
    if (rect.bottom > GetSystemMetrics(SM_CYSCREEN)) {
        return WaitUntil([&] { return !IsWindowVisible(notice); }, 15000);
    }
    EXPECT_TRUE(SaveWindowPng(notice, shot));
    HWND ok = FindChild(notice, L"OK");
    if (!ok) {
        return false;
    }
    ClickCentre(ok);
    return WaitUntil([&] { return !IsWindowVisible(notice); }, 5000);
}

} // namespace grimsweep::gui::program
