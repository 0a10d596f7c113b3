// Driving the real grimsweep.exe from a GUI test: starting it beside the test program, waiting, and
// finding its windows and their controls by class, title and text.
#pragma once

#include "platform/win32/windows_api.h"

#include "gui/mouse.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_system.h"

namespace grimsweep::gui::program {

inline const std::wstring kFormClass = L"GrimsweepForm";
inline const std::wstring kMainWindowTitle = L"Grimsweep by Lanternfish Software";
inline const std::string kUserKey = "Software\\Lanternfish Software\\Grimsweep";
inline const std::string kMachineKey = "SOFTWARE\\Lanternfish Software\\Grimsweep";

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

inline std::wstring TextOf(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

// The first visible child window (at any depth) whose text passes the test.
inline HWND FindChildWhere(HWND parent, const std::function<bool(const std::wstring&)>& test) {
    struct Search {
        const std::function<bool(const std::wstring&)>& test;
        HWND found = nullptr;
    } search{test};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            if (IsWindowVisible(child) && s->test(TextOf(child))) {
                s->found = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

inline HWND FindChild(HWND parent, const std::wstring& text) {
    return FindChildWhere(parent, [&](const std::wstring& each) { return each == text; });
}

// Every visible child window of that window class, at any depth, in window order.
inline std::vector<HWND> ChildrenOfClass(HWND parent, const std::wstring& windowClass) {
    struct Search {
        const std::wstring& windowClass;
        std::vector<HWND> found;
    } search{windowClass, {}};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            wchar_t name[64] = {};
            GetClassNameW(child, name, 64);
            if (IsWindowVisible(child) && _wcsicmp(name, s->windowClass.c_str()) == 0) {
                s->found.push_back(child);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The first of them.
inline HWND FindChildOfClass(HWND parent, const std::wstring& windowClass) {
    const auto found = ChildrenOfClass(parent, windowClass);
    return found.empty() ? nullptr : found.front();
}

// A control's text as the control itself answers it: edit and combo boxes of another process keep their
// text where GetWindowText does not look, so it is asked for with WM_GETTEXT, which the system carries
// across.
inline std::wstring ControlText(HWND control) {
    const auto length = SendMessageW(control, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(control, WM_GETTEXT, static_cast<WPARAM>(text.size()),
                 reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

// The windows of a process, shown or hidden, of one window class and with that title.
inline std::vector<HWND> TopLevelWindows(DWORD processId, const std::wstring& windowClass,
                                         const std::wstring& title = L"", bool visibleOnly = false) {
    struct Search {
        DWORD processId;
        std::wstring windowClass;
        std::wstring title;
        bool visibleOnly;
        std::vector<HWND> found;
    } search{processId, windowClass, title, visibleOnly, {}};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            wchar_t className[64] = {};
            GetClassNameW(window, className, 64);
            if (owner == s->processId && className == s->windowClass &&
                (s->title.empty() || TextOf(window) == s->title) &&
                (!s->visibleOnly || IsWindowVisible(window))) {
                s->found.push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The first visible form of the process with that title.
inline HWND VisibleForm(DWORD processId, const std::wstring& title) {
    const auto windows = TopLevelWindows(processId, kFormClass, title, true);
    return windows.empty() ? nullptr : windows.front();
}

// Clicks the visible child with this caption until the condition holds: a click can be lost while Wine
// is still settling the window (a control made again, the window not yet in front), so one is retried.
inline bool ClickUntil(HWND parent, const std::wstring& caption, const std::function<bool()>& done,
                       int attempts = 5) {
    for (int attempt = 0; attempt < attempts; ++attempt) {
        if (HWND control = FindChild(parent, caption)) {
            SetForegroundWindow(parent);
            ClickCentre(control);
        }
        if (WaitUntil(done, 2000)) {
            return true;
        }
    }
    return false;
}

// The visible top-level forms of a process.
inline std::vector<HWND> VisibleForms(DWORD processId) {
    return TopLevelWindows(processId, kFormClass, L"", true);
}

// The process's visible form, whatever its title, that shows a child whose text begins with `head`.
inline HWND FormShowing(DWORD processId, const std::wstring& head) {
    for (HWND window : VisibleForms(processId)) {
        if (FindChildWhere(window, [&](const std::wstring& text) { return text.starts_with(head); })) {
            return window;
        }
    }
    return nullptr;
}

// A user without settings on a machine that was asked the first-run question before. The help was
// shown at an earlier start too: Help.chm lies beside the program, and its viewer would cover the
// windows that the tests click.
inline void StartAsReturningUser(win32::Win32Registry& registry) {
    registry.DeleteKeyTree(RegistryRoot::CurrentUser, kUserKey);
    registry.CreateKey(RegistryRoot::LocalMachine, kMachineKey + "\\Settings");
    registry.SetValue(RegistryRoot::LocalMachine, kMachineKey + "\\Settings", "FirstTime",
                      RegistryValue::String("Yes"));
    // The language was chosen at an earlier start: the language window does not open.
    registry.CreateKey(RegistryRoot::CurrentUser, kUserKey + "\\Settings");
    registry.SetValue(RegistryRoot::CurrentUser, kUserKey + "\\Settings", "Language",
                      RegistryValue::String("English"));
    registry.SetValue(RegistryRoot::CurrentUser, kUserKey + "\\Settings", "showHelp",
                      RegistryValue::String("0"));
}

// Starts grimsweep.exe as a user starts it: the one at `program`, or without it the one in the folder of
// this test program.
inline PROCESS_INFORMATION StartProgram(const std::wstring& program = L"") {
    std::wstring path = program;
    if (path.empty()) {
        const std::string own = win32::Win32System().OwnExecutablePath();
        path = win32::Widen(own.substr(0, own.rfind('\\') + 1)) + L"grimsweep.exe";
    }
    std::wstring command = L"\"" + path + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &process)) {
        CloseHandle(process.hThread);
        process.hThread = nullptr;
    }
    return process;
}

// Closes the program as its close box does and waits for it to end; a program that stays is ended, and
// the test fails.
inline void CloseProgram(HWND main, const PROCESS_INFORMATION& process) {
    PostMessageW(main, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
        ADD_FAILURE() << "the program did not close";
    }
    CloseHandle(process.hProcess);
}

// The main window, once its load has ended and its navigation shows.
// The main window by its caption and its Send to Tray button's, English unless told otherwise.
inline HWND WaitForMainWindow(DWORD processId, const std::wstring& title = kMainWindowTitle,
                              const std::wstring& sendToTray = L"Send to Tray") {
    HWND main = nullptr;
    WaitUntil(
        [&] {
            main = nullptr;
            for (HWND window : VisibleForms(processId)) {
                if (TextOf(window) == title) {
                    main = window;
                }
            }
            return main && FindChild(main, sendToTray) != nullptr;
        },
        30000);
    return main;
}

// A started program and its main window; `main` is null when either did not come.
struct RunningProgram {
    PROCESS_INFORMATION process{};
    HWND main = nullptr;
};

// Starts the program (see StartProgram) and waits for its main window.
inline RunningProgram StartToMainWindow(const std::wstring& program = L"",
                                        const std::wstring& title = kMainWindowTitle,
                                        const std::wstring& sendToTray = L"Send to Tray") {
    RunningProgram running{StartProgram(program), nullptr};
    if (running.process.hProcess) {
        running.main = WaitForMainWindow(running.process.dwProcessId, title, sendToTray);
    }
    return running;
}

} // namespace grimsweep::gui::program
