// Switching the real grimsweep.exe to German from its language window: the captions, tabs, list column
// headers, menus and messages of the running program change at once.
#include <winsock2.h>

#include "platform/win32/windows_api.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "gui/mouse.h"
#include "gui/program_actions.h"
#include "gui/program_driver.h"
#include "held_service.h"
#include "localization/localization_text.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_system.h"
#include "screenshot.h"
#include "services_file.h"

namespace grimsweep::gui {
namespace {

using namespace program;

// The texts of one language of the shipped file beside the program.
class LanguageTexts {
public:
    explicit LanguageTexts(const std::string& language) {
        const std::string own = win32::Win32System().OwnExecutablePath();
        win32::Win32FileSystem files;
        const auto bytes = files.ReadFile(own.substr(0, own.rfind('\\') + 1) + "Localization.xml");
        if (bytes) {
            if (auto lines = LanguageItemLines(DecodeLocalizationBytes(*bytes), language)) {
                items_ = TranslationItems(std::move(*lines));
            }
        }
    }
    std::wstring operator()(const std::string& item) const {
        return win32::Widen(items_.Find(item).value_or("?"));
    }

private:
    TranslationItems items_;
};

// Reads a tab's or a list column's text from the other process: the structures the messages fill
// must lie in that process's memory.
class RemoteBuffer {
public:
    explicit RemoteBuffer(HANDLE process) : process_(process) {
        memory_ = static_cast<char*>(VirtualAllocEx(process, nullptr, kSize, MEM_COMMIT, PAGE_READWRITE));
    }
    ~RemoteBuffer() {
        if (memory_) {
            VirtualFreeEx(process_, memory_, 0, MEM_RELEASE);
        }
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    std::wstring TabText(HWND tabs, int index) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = reinterpret_cast<wchar_t*>(memory_ + kTextOffset);
        item.cchTextMax = kTextChars;
        return Ask(tabs, TCM_GETITEMW, static_cast<WPARAM>(index), item);
    }
    // A list view's column, as its header control shows it.
    std::wstring HeaderText(HWND header, int index) {
        HDITEMW item{};
        item.mask = HDI_TEXT;
        item.pszText = reinterpret_cast<wchar_t*>(memory_ + kTextOffset);
        item.cchTextMax = kTextChars;
        return Ask(header, HDM_GETITEMW, static_cast<WPARAM>(index), item);
    }

private:
    static constexpr std::size_t kSize = 4096;
    static constexpr std::size_t kTextOffset = 512;
    static constexpr int kTextChars = 256;

    template <typename Record>
    std::wstring Ask(HWND window, UINT message, WPARAM index, const Record& record) {
        if (!memory_) {
            return L"<no memory>";
        }
        wchar_t text[kTextChars] = {};
        WriteProcessMemory(process_, memory_ + kTextOffset, text, sizeof text, nullptr);
        WriteProcessMemory(process_, memory_, &record, sizeof record, nullptr);
        SendMessageW(window, message, index, reinterpret_cast<LPARAM>(memory_));
        ReadProcessMemory(process_, memory_ + kTextOffset, text, sizeof text, nullptr);
        text[kTextChars - 1] = L'\0';
        return text;
    }

    HANDLE process_;
    char* memory_ = nullptr;
};

TEST(LanguageGui, SwitchingToGermanChangesCaptionsTabsColumnsMenusAndMessagesAtOnce) {
    const LanguageTexts german("Deutsch");
    ASSERT_EQ(german("FRMMAIN_CMDSETTINGS"), L"Einstellungen") << "the shipped file lies beside the program";
    win32::Win32Registry registry;
    StartAsReturningUser(registry);
    const auto [process, main] = StartToMainWindow();
    ASSERT_NE(main, nullptr);

    // Options panel, then its Language button.
    ASSERT_TRUE(ClickUntil(main, L"Settings", [&] { return FindChild(main, L"Language...") != nullptr; }));
    HWND picker = nullptr;
    ASSERT_TRUE(ClickUntil(main, L"Language...", [&] {
        return (picker = VisibleForm(process.dwProcessId, L"Language Selection")) != nullptr;
    }));
    HWND list = FindChildOfClass(picker, L"ComboBox");
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(ControlText(list), L"English");
    // Deutsch is the entry below English: chosen with the keyboard, as a user does.
    SetForegroundWindow(picker);
    ClickCentre(list);
    Sleep(300);
    PressKeys({VK_DOWN, VK_RETURN});
    EXPECT_TRUE(WaitUntil([&] { return TextOf(picker) == german("MSG_TITLELANGUAGE"); }, 10000))
        << "the language window itself switches";
    EXPECT_NE(FindChild(picker, german("FRMLANGUAGE_LABEL1")), nullptr);
    EXPECT_TRUE(SaveWindowPng(picker, "language_window_german.png"));
    ClickCentre(FindChild(picker, german("FRMLANGUAGE_COMMAND2")));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(picker); }, 10000));

    // Captions, tabs, column headers and menus of the main window.
    EXPECT_EQ(TextOf(main), L"Grimsweep von Lanternfish Software");
    EXPECT_NE(FindChild(main, german("FRMMAIN_CMDSETTINGS")), nullptr);
    EXPECT_NE(FindChild(main, german("FRMMAIN_CHKSENDDATA")), nullptr);
    EXPECT_NE(FindChild(main, german("FRMMAIN_CMDLANGUAGE")), nullptr);
    RemoteBuffer remote(process.hProcess);
    HWND tabs = FindChildOfClass(main, WC_TABCONTROLW);
    ASSERT_NE(tabs, nullptr);
    for (int tab = 0; tab < 4; ++tab) {
        EXPECT_EQ(remote.TabText(tabs, tab), german("FRMMAIN_TABSTRIP1_TABS" + std::to_string(tab + 1)));
    }
    RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(500);
    EXPECT_TRUE(SaveWindowPng(main, "language_german_options.png"));
    // Menus live in the program's own process under Wine, out of reach of another process: the menu bar
    // is checked on the screenshot with the file menu dropped down.
    SetForegroundWindow(main);
    PressKeys({VK_F10, VK_DOWN});
    Sleep(700);
    EXPECT_TRUE(SaveWindowPng(GetDesktopWindow(), "language_german_menu.png"));
    PressKeys({VK_ESCAPE, VK_ESCAPE});
    Sleep(300);
    // The other Options pages, chosen from the Settings menu (its second item shows the second page).
    for (int page = 2; page <= 4; ++page) {
        SetForegroundWindow(main);
        PressKeys({VK_F10, VK_RIGHT, VK_DOWN});
        for (int down = 1; down < page; ++down) {
            PressKeys({VK_DOWN});
        }
        PressKeys({VK_RETURN});
        Sleep(700);
        RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Sleep(300);
        EXPECT_TRUE(SaveWindowPng(main, "language_german_options_" + std::to_string(page) + ".png"));
    }

    // A message: Delete with an empty list.
    ASSERT_TRUE(ClickUntil(main, german("FRMMAIN_CMDRESULTS"),
                           [&] { return FindChild(main, german("FRMMAIN_COMMAND4")) != nullptr; }));
    // The removal list's column headers (read from its header control).
    std::vector<std::wstring> headers;
    for (HWND header : ChildrenOfClass(main, WC_HEADERW)) {
        headers.push_back(remote.HeaderText(header, 0) + L"|" + remote.HeaderText(header, 1) + L"|" +
                          remote.HeaderText(header, 2));
    }
    const std::string removalList = "FRMMAIN_LVWPICREMOVELISTOFSPYWAREFOUNDANDTOBEREMOVED_COL";
    const std::wstring expected =
        german(removalList + "1") + L"|" + german(removalList + "2") + L"|" + german(removalList + "3");
    EXPECT_NE(std::find(headers.begin(), headers.end(), expected), headers.end())
        << win32::Narrow(expected) << " among " << headers.size() << " headers";
    HWND box = nullptr;
    EXPECT_TRUE(ClickUntil(main, german("FRMMAIN_COMMAND4"), [&] {
        box = FindWindowW(L"#32770", L"Grimsweep");
        return box && IsWindowVisible(box);
    }));
    if (box) {
        EXPECT_NE(FindChild(box, german("MSG_SELECTED")), nullptr);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        WaitUntil([&] { return !IsWindowVisible(box); }, 5000);
    }

    CloseProgram(main, process);
    // The next test starts an English user again.
    StartAsReturningUser(registry);
}

// A German and a French user meet the Results panel, the Restore window and Live Update's window in
// their language; each is saved as a screenshot (language_<language>_<window>.png).
TEST(LanguageGui, ResultsRestoreAndDownloadWindowsInGermanAndFrench) {
    win32::Win32Registry registry;
    win32::Win32FileSystem files;
    // A service that takes the connection and never answers (a gate never released): Live Update's
    // window stays up.
    HeldService silent(0);
    ASSERT_TRUE(silent.Listening());
    const ServicesFile ini(files, silent.Address());
    for (const auto& [language, shot] : {std::pair<std::string, std::string>{"Deutsch", "german"},
                                         std::pair<std::string, std::string>{"Fran\xC3\xA7"
                                                                             "ais",
                                                                             "french"}}) {
        const LanguageTexts texts(language);
        StartAsReturningUser(registry);
        registry.SetValue(RegistryRoot::CurrentUser, kUserKey + "\\Settings", "Language",
                          RegistryValue::String(language));
        std::wstring title = texts("MSG_CAPTION");
        title.replace(title.find(L"[ProgramName]"), 13, L"Grimsweep");
        title.replace(title.find(L"[CompanyName]"), 13, L"Lanternfish Software");
        const auto [process, main] = StartToMainWindow(L"", title, texts("FRMMAIN_COMMAND5"));
        ASSERT_NE(main, nullptr) << language;

        EXPECT_TRUE(ClickUntil(main, texts("FRMMAIN_CMDRESULTS"), [&] {
            return FindChild(main, texts("FRMMAIN_COMMAND4")) != nullptr;
        })) << language;
        RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Sleep(300);
        EXPECT_TRUE(SaveWindowPng(main, "language_" + shot + "_results.png"));

        // Quarantine is the third menu on the bar, Restore... its third item.
        HWND restore = nullptr;
        ChooseMenuItem(main, 2, 2);
        EXPECT_TRUE(WaitUntil(
            [&] {
                return (restore = VisibleForm(process.dwProcessId, texts("MSG_RESTORE_TITLE"))) != nullptr;
            },
            10000))
            << language << ": the Restore window's caption";
        if (restore) {
            EXPECT_NE(FindChild(restore, texts("FRMRESTORE_CMDRESTORE")), nullptr);
            Sleep(300);
            EXPECT_TRUE(SaveWindowPng(restore, "language_" + shot + "_restore.png"));
            EXPECT_TRUE(
                ClickUntil(restore, texts("FRMRESTORE_CMDCLOSE"), [&] { return !IsWindowVisible(restore); }));
        }

        // Live Update waits for the silent service: its window, in the language, until Cancel.
        HWND download = nullptr;
        EXPECT_TRUE(ClickUntil(main, texts("FRMMAIN_CMDUPDATE"),
                               [&] {
                                   download = FormShowing(process.dwProcessId, texts("FRMDOWNLOAD_CMDCANCEL"),
                                                          texts("FRMDOWNLOAD_CMDCANCEL"));
                                   return download != nullptr;
                               }))
            << language << ": Live Update's window";
        if (download) {
            Sleep(1500); // its headline changes as it waits
            EXPECT_TRUE(SaveWindowPng(download, "language_" + shot + "_download.png"));
            EXPECT_TRUE(ClickUntil(download, texts("FRMDOWNLOAD_CMDCANCEL"),
                                   [&] { return !IsWindow(download) || !IsWindowVisible(download); }));
        }
        CloseProgram(main, process);
    }
    StartAsReturningUser(registry);
}

} // namespace
} // namespace grimsweep::gui
