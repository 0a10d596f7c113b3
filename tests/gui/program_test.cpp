// The real grimsweep.exe, started as a user starts it and driven with real clicks: the first-run
// question, the navigation buttons, an option stored in the real registry, a scan and a removal, Live
// Update against the local definition service, and a clean close.
#include <winsock2.h>

#include "platform/win32/windows_api.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/run_at_startup.h"
#include "definitions/definition_files.h"
#include "definitions/definition_status.h"
#include "definitions/line_code.h"
#include "gui/mouse.h"
#include "gui/program_actions.h"
#include "gui/program_driver.h"
#include "held_service.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_dpi.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_system.h"
#include "screenshot.h"
#include "services_file.h"
#include "update/service_addresses.h"
#include "win32/helper_programs.h"
#include "win32/local_definition_service.h"

namespace grimsweep::gui {
namespace {

using namespace program;

const std::wstring kRunAtStartupCaption = L"Run at Startup and protect my computer automatically";

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

    const PROCESS_INFORMATION process = StartProgram();
    ASSERT_NE(process.hProcess, nullptr);

    // The first start of this user asks for the language first: the shipped languages are offered,
    // English shown, and OK keeps it.
    HWND languages = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] { return (languages = VisibleWindow(kFormClass.c_str(), L"Language Selection")) != nullptr; },
        30000));
    HWND list = FindChildOfClass(languages, L"ComboBox");
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(SendMessageW(list, CB_GETCOUNT, 0, 0), 3) << "English, Deutsch, Français";
    EXPECT_EQ(ControlText(list), L"English");
    EXPECT_TRUE(SaveWindowPng(languages, "program_language_window.png"));
    ClickCentre(FindChild(languages, L"OK"));
    ASSERT_TRUE(WaitUntil([&] { return VisibleWindow(kFormClass.c_str(), L"Language Selection") == nullptr; },
                          10000));
    EXPECT_EQ(UserSetting(registry, "Settings", "Language"), "English");

    // The first start on this machine offers Live Update; the user declines.
    HWND question = nullptr;
    ASSERT_TRUE(
        WaitUntil([&] { return (question = VisibleWindow(L"#32770", L"Update Now?")) != nullptr; }, 30000));
    HWND no = GetDlgItem(question, IDNO);
    ASSERT_NE(no, nullptr);
    ClickCentre(no);
    ASSERT_TRUE(WaitUntil([&] { return VisibleWindow(L"#32770", L"Update Now?") == nullptr; }, 10000));

    // Help.chm, built beside the program, opens in the help viewer at the first start, and the start
    // records that it was shown. The viewer is closed so that it covers nothing the test clicks.
    HWND help = nullptr;
    EXPECT_TRUE(
        WaitUntil([&] { return (help = VisibleWindow(nullptr, L"Grimsweep Help")) != nullptr; }, 15000))
        << "the help viewer shows Help.chm";
    EXPECT_EQ(UserSetting(registry, "Settings", "showHelp"), "0");
    if (help) {
        EXPECT_TRUE(SaveWindowPng(help, "program_help.png"));
        PostMessageW(help, WM_CLOSE, 0, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(help); }, 10000));
    }

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
            return FindChild(main, L"Welcome to Grimsweep") != nullptr;
        },
        10000));
    RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(1000);
    EXPECT_TRUE(SaveWindowPng(main, "program_status.png"));

    // The Scan panel, then the Options panel, with real clicks on the navigation buttons.
    EXPECT_TRUE(ClickUntil(main, L"Scan Now", [&] { return FindChild(main, L"Start") != nullptr; }));
    EXPECT_EQ(FindChild(main, L"Welcome to Grimsweep"), nullptr);
    HWND runAtStartup = nullptr;
    ASSERT_TRUE(ClickUntil(main, L"Settings", [&] {
        return (runAtStartup = FindChild(main, kRunAtStartupCaption)) != nullptr;
    }));
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

    // Windows from Vista on (Wine reports 6.1) have their region reset to the whole window when skinned.
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(main, region), SIMPLEREGION);
    DeleteObject(region);

    // Exclude with empty lists says so and changes nothing.
    HWND exclude = nullptr;
    ASSERT_TRUE(ClickUntil(main, L"Results/Removal",
                           [&] { return (exclude = FindChild(main, L"Exclude")) != nullptr; }));
    ClickCentre(exclude);
    HWND sorry = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (sorry = VisibleWindow(L"#32770", L"Grimsweep")) != nullptr; }, 5000));
    EXPECT_NE(FindChild(sorry, L"Sorry, there are no entries to be excluded."), nullptr);
    ClickCentre(GetDlgItem(sorry, IDOK));
    ASSERT_TRUE(WaitUntil([&] { return VisibleWindow(L"#32770", L"Grimsweep") == nullptr; }, 5000));

    // Shift and a press on Live Update list the definition pages on the brand's website; no update starts.
    const std::size_t formsBefore = TopLevelWindows(process.dwProcessId, kFormClass, L"", true).size();
    HWND liveUpdate = FindChild(main, L"Live Update");
    ASSERT_NE(liveUpdate, nullptr);
    SetForegroundWindow(main);
    ClickAtHolding(liveUpdate, 12, 8, VK_SHIFT);
    HWND addresses = nullptr;
    ASSERT_TRUE(
        WaitUntil([&] { return (addresses = VisibleWindow(L"#32770", L"Grimsweep")) != nullptr; }, 5000));
    wchar_t text[1024] = L"";
    GetDlgItemTextW(addresses, 0xFFFF, text, 1024);
    EXPECT_EQ(std::wstring(text),
              L"http://www.lanternfish-software.example/definitions/version/r.htm\r\n"
              L"http://www.lanternfish-software.example/definitions/version/f.htm\r\n"
              L"http://www.lanternfish-software.example/definitions/version/e.htm\r\n"
              L"http://www.lanternfish-software.example/definitions/version/c.htm\r\n"
              L"http://www.lanternfish-software.example/definitions/data/blockedcookies.dat\r\n"
              L"http://www.lanternfish-software.example/definitions/data/registrydefinition.dat\r\n"
              L"http://www.lanternfish-software.example/definitions/data/filedefinition.dat\r\n"
              L"http://www.lanternfish-software.example/definitions/data/exedefinition.dat");
    ClickCentre(GetDlgItem(addresses, IDOK));
    ASSERT_TRUE(WaitUntil([&] { return VisibleWindow(L"#32770", L"Grimsweep") == nullptr; }, 5000));
    Sleep(2000);
    EXPECT_EQ(TopLevelWindows(process.dwProcessId, kFormClass, L"", true).size(), formsBefore)
        << "neither the download window nor the notice came up";

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

// A user's click on the last menu of the window's menu bar (where its caption is drawn, the rightmost
// text on the bar), then on the first item of the menu that drops down.
bool ChooseFirstItemOfLastMenu(HWND window, DWORD processId) {
    RECT frame;
    GetWindowRect(window, &frame);
    POINT client{0, 0};
    ClientToScreen(window, &client);
    const WindowImage image = CaptureWindow(window);
    RECT inside;
    GetClientRect(window, &inside);
    const int barMiddle = client.y - frame.top - GetSystemMetrics(SM_CYMENU) / 2;
    int textRight = -1;
    for (int y = barMiddle - 3; y <= barMiddle + 3; ++y) {
        for (int x = client.x - frame.left + inside.right - 1; x > textRight; --x) {
            const std::uint32_t pixel = image.pixels[static_cast<std::size_t>(y * image.width + x)];
            if (((pixel >> 16) & 0xFF) < 100 && ((pixel >> 8) & 0xFF) < 100 && (pixel & 0xFF) < 100) {
                textRight = x;
                break;
            }
        }
    }
    if (textRight < 0) {
        return false;
    }
    ClickAt(window, textRight - 8 - (client.x - frame.left), barMiddle - (client.y - frame.top));
    HWND menu = nullptr;
    if (!WaitUntil(
            [&] {
                const auto menus = TopLevelWindows(processId, L"#32768", L"", true);
                menu = menus.empty() ? nullptr : menus.front();
                return menu != nullptr;
            },
            3000)) {
        return false;
    }
    Sleep(200);
    RECT item;
    GetClientRect(menu, &item);
    ClickAt(menu, item.right / 2, GetSystemMetrics(SM_CYMENU) / 2 + 2);
    return true;
}

// The label shows its whole caption in the system's message font: the wrapped text fits its height.
bool CaptionFits(HWND label) {
    RECT client;
    GetClientRect(label, &client);
    HDC dc = GetDC(nullptr);
    HFONT font = win32::CreateUiFont(win32::ScreenDpiY(), false, false);
    HGDIOBJ old = SelectObject(dc, font);
    const std::wstring text = TextOf(label);
    RECT needed{0, 0, client.right, 0};
    DrawTextW(dc, text.c_str(), -1, &needed, DT_CALCRECT | DT_WORDBREAK);
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(nullptr, dc);
    return needed.bottom <= client.bottom && needed.right <= client.right;
}

TEST(ProgramGui, ScanPanelAboutTrayPopupAndIconsAsANewUserMeetsThem) {
    win32::Win32Registry registry;
    StartAsReturningUser(registry);
    const auto [process, main] = StartToMainWindow();
    ASSERT_NE(main, nullptr);

    // The Scan panel shows every counter's caption whole.
    HWND inspected = nullptr;
    ASSERT_TRUE(ClickUntil(main, L"Scan Now", [&] {
        return (inspected = FindChild(main, L"Cookies and processes inspected:")) != nullptr;
    }));
    EXPECT_TRUE(CaptionFits(inspected));
    Sleep(500);
    EXPECT_TRUE(SaveWindowPng(main, "program_scan.png"));

    // About, the only item of the last menu.
    ASSERT_TRUE(ChooseFirstItemOfLastMenu(main, process.dwProcessId));
    HWND about = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] { return (about = VisibleForm(process.dwProcessId, L"About Grimsweep")) != nullptr; }, 5000));
    Sleep(500);
    RECT aboutRect;
    RECT mainRect;
    GetWindowRect(about, &aboutRect);
    GetWindowRect(main, &mainRect);
    EXPECT_NEAR((aboutRect.left + aboutRect.right) / 2, (mainRect.left + mainRect.right) / 2, 2) << "centred";
    EXPECT_NEAR((aboutRect.top + aboutRect.bottom) / 2, (mainRect.top + mainRect.bottom) / 2, 2) << "centred";
    HWND picture = FindWindowExW(about, nullptr, L"GrimsweepPane", nullptr);
    ASSERT_NE(picture, nullptr);
    EXPECT_GE(DistinctColours(picture), 8) << "the picture box shows the program icon";
    EXPECT_TRUE(SaveWindowPng(about, "program_about.png"));
    ClickCentre(FindChild(about, L"OK"));
    ASSERT_TRUE(
        WaitUntil([&] { return VisibleForm(process.dwProcessId, L"About Grimsweep") == nullptr; }, 5000));
    Sleep(300);

    // The caption's minimise button sends the window to the notification area too (it has no taskbar
    // button then), and a double click on the icon (its callback on the main window) brings it back.
    SendMessageW(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); }, 3000)) << "minimised into the tray";
    PostMessageW(main, WM_MOUSEMOVE, 0, 515); // WM_LBUTTONDBLCLK on the icon
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main) && !IsIconic(main); }, 3000))
        << "back from the tray";
    Sleep(300);

    // One click on Send to Tray acts, as on Windows: the window goes to the notification area.
    ClickCentre(FindChild(main, L"Send to Tray"));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); }, 3000)) << "the first click must act";

    // A click on the tray icon (its callback on the main window) slides the popup up.
    PostMessageW(main, WM_MOUSEMOVE, 0, 513);
    HWND popup = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            for (HWND window : TopLevelWindows(process.dwProcessId, kFormClass, L"Grimsweep", true)) {
                if (FindChild(window, L"Exit Program")) {
                    popup = window;
                }
            }
            return popup != nullptr;
        },
        5000));
    ASSERT_TRUE(WaitUntil([&] { return Settled(popup); }, 5000));
    EXPECT_TRUE(SaveWindowPng(popup, "program_popup.png"));

    // One click on Exit Program ends the program.
    ClickCentre(FindChild(popup, L"Exit Program"));
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 10000), WAIT_OBJECT_0) << "the first click must act";
    TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hProcess);
}

// Writes the five definition files the scan needs, the registry definitions with `registryLines` lines
// naming keys that are not there, the file definitions with `fileLines` (CR LF between them) when given.
void PutScanDefinitions(IFileSystem& files, const std::string& data, int registryLines,
                        const std::string& fileLines) {
    files.CreateFolder(data);
    for (std::string_view name : {kExeDefinitionFile, kBlockedCookiesFile, kDirectoryDefinitionFile}) {
        files.WriteFile(data + "\\" + std::string(name), "");
    }
    std::string registry;
    for (int i = 0; i < registryLines; ++i) {
        registry +=
            EncodeDefinitionLine("2^SOFTWARE\\Grimsweep Absent " + std::to_string(i) + "^=Absent") + "\r\n";
    }
    files.WriteFile(data + "\\" + std::string(kRegistryDefinitionFile), registry);
    // One definition a line of `fileLines`.
    std::string fileDefinitions;
    for (std::size_t start = 0; start < fileLines.size();) {
        std::size_t end = fileLines.find("\r\n", start);
        if (end == std::string::npos) {
            end = fileLines.size();
        }
        fileDefinitions += EncodeDefinitionLine(fileLines.substr(start, end - start)) + "\r\n";
        start = end + 2;
    }
    files.WriteFile(data + "\\" + std::string(kFileDefinitionFile), fileDefinitions);
}

TEST(ProgramGui, StartScansThePlantedThreatAndTheResultsPanelListsIt) {
    win32::Win32Registry registry;
    win32::Win32FileSystem files;
    win32::Win32Shell shell;
    StartAsReturningUser(registry);
    // Definitions naming two files that are there, in a folder of this test's own under Program Files (the
    // data folder itself is never removed from); another program holds the second open.
    const std::string data = shell.SpecialFolderPath(26).value_or("C:") + "\\AntiSpywareDAT";
    const std::string threatFolder = shell.SpecialFolderPath(38).value_or("C:") + "\\GUI Scan Demo";
    PutScanDefinitions(files, data, 0,
                       "guidemo.exe=GUI Demo Threat|" + threatFolder + "|Test\r\n" +
                           "guiheld.dll=GUI Held Threat|" + threatFolder + "|Test");
    // And a definition that names the Windows folder itself: listed, never touched.
    files.WriteFile(data + "\\" + std::string(kDirectoryDefinitionFile),
                    EncodeDefinitionLine("Windows=GUI Windows Eater|[windir]|Test") + "\r\n");
    files.CreateFolder(threatFolder);
    ASSERT_TRUE(files.WriteFile(threatFolder + "\\guidemo.exe", "demo"));
    const std::string held = threatFolder + "\\guiheld.dll";
    ASSERT_TRUE(files.WriteFile(held, "held"));
    win32::HelperProcess holder("\"" + win32::BesideTestProgram(GRIMSWEEP_FILE_HOLDER_NAME) + "\" \"" + held +
                                "\"");
    ASSERT_TRUE(win32::WaitUntilHeld(holder, held));

    const ScanRows rows = ScanInTheRealWindow("program_scan_results.png", "program_results.png",
                                              {"program_results_removed.png", "program_restore.png", true});
    holder.Stop();
    EXPECT_EQ(rows.found, 3) << "GUI Demo Threat, GUI Held Threat and GUI Windows Eater - Found";
    EXPECT_EQ(rows.removal, 3);
    EXPECT_TRUE(rows.allTicked) << "Select All ticks the rows";
    EXPECT_EQ(rows.afterRemoval, 2)
        << "Delete takes the ticked row that went; the held file's and Windows' stay";
    EXPECT_TRUE(rows.problemWindow);
    const std::string windows = shell.SpecialFolderPath(36).value_or("C:\\windows");
    EXPECT_EQ(rows.copiedList, win32::Widen(windows) + L" - protected Windows location, not removed\r\n" +
                                   win32::Widen(held) + L"\r\n");
    EXPECT_TRUE(files.FolderExists(windows + "\\system32"));
    EXPECT_TRUE(rows.problemWindowClosed);
    EXPECT_EQ(files.ReadFile(data + "\\quarantine\\guidemo.exe").value_or(""), "demo");
    EXPECT_EQ(rows.restoreListed, 1) << "the removed file";
    EXPECT_TRUE(rows.restoreTicked);
    EXPECT_TRUE(rows.restoreAnswered);
    EXPECT_TRUE(rows.restoreClosed);
    EXPECT_EQ(files.ReadFile(threatFolder + "\\guidemo.exe").value_or(""), "demo") << "back in its place";
    EXPECT_EQ(files.ReadFile(held).value_or(""), "held");
    files.DeleteFolder(data + "\\quarantine");
    files.DeleteFolder(threatFolder);
    for (const auto& definition : kDefinitionFiles) {
        files.DeleteFile(data + "\\" + std::string(definition.name));
    }
}

TEST(ProgramGui, PauseHoldsAndStopCancelsARunningScanInTheRealWindow) {
    win32::Win32Registry registry;
    win32::Win32FileSystem files;
    win32::Win32Shell shell;
    StartAsReturningUser(registry);
    const std::string data = shell.SpecialFolderPath(26).value_or("C:") + "\\AntiSpywareDAT";
    // Enough registry look-ups to keep the scan busy for many seconds.
    PutScanDefinitions(files, data, 300000, "");

    const auto [process, main] = StartToMainWindow();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(ClickUntil(main, L"Scan Now", [&] { return FindChild(main, L"Start") != nullptr; }));
    ASSERT_TRUE(ClickUntil(main, L"Start", [&] {
        HWND pause = FindChild(main, L"Pause");
        return pause && IsWindowEnabled(pause);
    }));
    HWND box = nullptr;
    ASSERT_TRUE(ClickUntil(main, L"Pause",
                           [&] { return (box = VisibleWindow(L"#32770", L"Grimsweep")) != nullptr; }));
    EXPECT_NE(FindChild(box, L"Grimsweep has been paused.  Click OK to resume."), nullptr);
    ClickCentre(GetDlgItem(box, IDOK));
    ASSERT_TRUE(WaitUntil([&] { return VisibleWindow(L"#32770", L"Grimsweep") == nullptr; }, 5000));

    ASSERT_TRUE(
        ClickUntil(main, L"Stop", [&] { return (box = VisibleWindow(L"#32770", L"Grimsweep")) != nullptr; }));
    // The first control captioned Stop may be the button or the label: each asks its own question.
    EXPECT_TRUE(FindChild(box, L"Are you sure you want to stop the scan?") != nullptr ||
                FindChild(box, L"Are you sure?") != nullptr);
    ClickCentre(GetDlgItem(box, IDYES));
    EXPECT_TRUE(WaitUntil([&] { return FindChild(main, L"Scanning was cancelled.") != nullptr; }, 10000));
    EXPECT_NE(FindChild(main, L"0% Completed."), nullptr);
    Sleep(300);
    EXPECT_TRUE(SaveWindowPng(main, "program_scan_cancelled.png"));

    CloseProgram(main, process);
    for (const auto& definition : kDefinitionFiles) {
        files.DeleteFile(data + "\\" + std::string(definition.name));
    }
}

TEST(ProgramGui, LiveUpdateFromTheButtonAppliesThePublishedRecordsAndRunLiveUpdateNowFindsNothingNewer) {
    win32::Win32Registry registry;
    win32::Win32FileSystem files;
    win32::Win32Shell shell;
    win32::Win32System system;
    StartAsReturningUser(registry);
    const std::string data = shell.SpecialFolderPath(26).value_or("C:") + "\\AntiSpywareDAT";
    PutScanDefinitions(files, data, 0, "");
    const std::string dateFile = data + "\\" + std::string(kDefinitionsDateFile);
    files.DeleteFile(dateFile); // the definitions date of a new installation

    // One record published on a date after it, served on a port of the system's choice.
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::string serviceFolder = win32::Narrow(temp) + "grimsweep-gui-live-update";
    files.DeleteFolder(serviceFolder);
    ASSERT_TRUE(files.CreateFolder(serviceFolder));
    // (A lower-case u or a 6 in a body would go out as a separator: coded, they are "|" and "=".)
    const std::string published = "gloomtray.exe=Gloom Tray Threat|[windir]|Adware";
    ASSERT_EQ(win32::RunGsdefs("publish \"" + serviceFolder + "\" \"9/1/2006 4:00:00 PM\"",
                               "FILE|ADD|" + published + "\n"),
              std::optional<DWORD>(0));
    win32::LocalDefinitionService service(serviceFolder);
    ASSERT_FALSE(service.Address().empty()) << "gsdefs serve printed where it listens";
    // The program reaches the service through a gate that can hold its requests.
    HeldService gate(service.Port());
    ASSERT_TRUE(gate.Listening());
    const ServicesFile ini(files, gate.Address());

    const auto [process, main] = StartToMainWindow();
    ASSERT_NE(main, nullptr);

    // Cancel while the service says nothing: the download window goes at once, the main window answers,
    // no notice comes and nothing is applied.
    const std::string definitionsPath = data + "\\" + std::string(kFileDefinitionFile);
    const auto definitionsBefore = files.ReadFile(definitionsPath);
    {
        HWND cancelling = nullptr;
        ASSERT_TRUE(ClickUntil(main, L"Live Update", [&] {
            return (cancelling = VisibleForm(process.dwProcessId, L"Grimsweep Live Update")) != nullptr;
        }));
        Sleep(300);
        const ULONGLONG pressed = GetTickCount64();
        ASSERT_TRUE(ClickUntil(cancelling, L"Cancel",
                               [&] { return !IsWindow(cancelling) || !IsWindowVisible(cancelling); }));
        EXPECT_LT(GetTickCount64() - pressed, 3000u) << "Cancel answered while the service was silent";
        DWORD_PTR answer = 0;
        EXPECT_NE(SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &answer), 0)
            << "the main window answers";
        Sleep(1000);
        EXPECT_EQ(VisibleForms(process.dwProcessId), std::vector<HWND>{main}) << "no notice after Cancel";
        EXPECT_FALSE(files.ReadFile(dateFile).has_value()) << "no definitions date stored";
        EXPECT_EQ(files.ReadFile(definitionsPath), definitionsBefore) << "nothing applied";
    }

    // The Live Update button, with the service slow to answer: the download window stays up meanwhile,
    // in front, while the main window keeps the activation.
    HWND download = nullptr;
    ASSERT_TRUE(ClickUntil(main, L"Live Update", [&] {
        return (download = VisibleForm(process.dwProcessId, L"Grimsweep Live Update")) != nullptr;
    }));
    // Its headline; the status box is an edit control, whose text another program cannot read.
    EXPECT_TRUE(WaitUntil(
        [&] {
            return FindChildWhere(download, [](const std::wstring& text) {
                       return text.starts_with(L"Connecting to");
                   }) != nullptr;
        },
        3000));
    Sleep(300);
    EXPECT_EQ(GetWindowLongW(download, GWL_STYLE) & WS_CAPTION, 0);
    EXPECT_NE(GetWindowLongW(download, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(GetForegroundWindow(), main) << "the download window takes no activation";
    EXPECT_TRUE(SaveWindowPng(download, "program_live_update_download.png"));
    gate.Release();

    // The notice says the definitions were updated; the date and the record are stored.
    HWND notice = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            return (notice = FormShowing(process.dwProcessId, L"Your ",
                                         L" definitions have been updated!")) != nullptr;
        },
        20000));
    EXPECT_EQ(GetForegroundWindow(), main) << "the notice takes no activation";
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(download) || !IsWindowVisible(download); }, 5000))
        << "the download window goes when the update ends";
    EXPECT_TRUE(SaveAndCloseNotice(notice, "program_live_update_notice.png"));
    EXPECT_EQ(ReadDefinitionsDate(files, system, data), "9/1/2006 4:00:00 PM");
    const std::string fileDefinitions =
        files.ReadFile(data + "\\" + std::string(kFileDefinitionFile)).value_or("");
    EXPECT_EQ(DecodeDefinitionText(fileDefinitions), published + "\n");

    // Settings, Auto Update (the second menu on the bar, its fourth item), Run Live Update Now: nothing
    // newer has been published.
    ChooseMenuItem(main, 1, 3);
    HWND runNow = nullptr;
    ASSERT_TRUE(
        WaitUntil([&] { return (runNow = FindChild(main, L"Run Live Update Now")) != nullptr; }, 5000));
    Sleep(300);
    EXPECT_TRUE(SaveWindowPng(main, "program_auto_update.png"));
    ASSERT_TRUE(ClickUntil(main, L"Run Live Update Now", [&] {
        return (notice = FormShowing(process.dwProcessId, L"You are using the most recent ",
                                     L" definitions.")) != nullptr;
    }));
    EXPECT_TRUE(SaveAndCloseNotice(notice, "program_live_update_recent.png"));
    EXPECT_EQ(ReadDefinitionsDate(files, system, data), "9/1/2006 4:00:00 PM");
    EXPECT_EQ(
        DecodeDefinitionText(files.ReadFile(data + "\\" + std::string(kFileDefinitionFile)).value_or("")),
        published + "\n")
        << "nothing applied twice";

    CloseProgram(main, process);
    files.DeleteFile(dateFile);
    for (const auto& definition : kDefinitionFiles) {
        files.DeleteFile(data + "\\" + std::string(definition.name));
    }
    files.DeleteFolder(serviceFolder);
}

} // namespace
} // namespace grimsweep::gui
