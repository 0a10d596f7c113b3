// The Win32 host with real windows under Wine: a form with a representative set of controls is shown
// and driven with real mouse input at the controls' screen positions; the model must see every action
// exactly once, and nothing the program itself changes may come back as a user action.
#include "platform/win32/windows_api.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>

#include "gui/mouse.h"
#include "platform/win32/win32_form_window.h"
#include "platform/win32/win32_ui_host.h"
#include "screenshot.h"
#include "ui/form.h"
#include "ui/list_icons.h"

namespace grimsweep::win32 {
namespace {

using gui::ClickAt;
using gui::ClickCentre;
using ui::ControlType;

HWND Hwnd(const ui::Control& control) {
    return reinterpret_cast<HWND>(control.hostHandle);
}
HWND Hwnd(const ui::Form& form) {
    return reinterpret_cast<HWND>(form.hostHandle);
}

// Pumps messages until the condition holds or the time is up.
bool WaitFor(Win32UiHost& host, const std::function<bool()>& condition, int milliseconds = 2000) {
    const auto end = GetTickCount64() + static_cast<ULONGLONG>(milliseconds);
    while (GetTickCount64() < end) {
        host.PumpMessages();
        if (condition()) {
            return true;
        }
        Sleep(10);
    }
    host.PumpMessages();
    return condition();
}

void Settle(Win32UiHost& host, int milliseconds = 150) {
    WaitFor(
        host, [] { return false; }, milliseconds);
}

std::string DpiTag(Win32UiHost& host) {
    return std::to_string(static_cast<int>(1440 / host.TwipsPerPixelX()));
}

// The demo window: navigation buttons switching two panels, a list view with check boxes and our icons,
// a progress bar, a shape, a tab strip with two pages of settings, menus and a timer.
struct DemoForm {
    explicit DemoForm(Win32UiHost& host) : form(host, "frmDemo") {
        form.SetCaption("Grimsweep form demo");
        form.SetIconResource("AAA");
        form.Move(600, 600, 10200, 7200);
        auto& cmdStatus =
            Add("cmdStatus", ControlType::CommandButton, nullptr, "Status", {120, 120, 1800, 450});
        auto& cmdOptions =
            Add("cmdOptions", ControlType::CommandButton, nullptr, "Settings", {120, 660, 1800, 450});
        Add("cmdWebsite", ControlType::CommandButton, nullptr, "Visit www.lanternfish-software.example",
            {120, 1200, 1800, 720});
        status = &Add("frmStatus", ControlType::Frame, nullptr, "Grimsweep Status", {2100, 60, 7800, 5700});
        Add("lblWelcome", ControlType::Label, status, "Welcome to Grimsweep", {240, 360, 7000, 300})
            .SetBold(true);
        list = &Add("lvwFound", ControlType::ListView, status, "", {240, 780, 7300, 2900});
        list->SetCheckBoxes(true);
        list->AddColumn("Item", 3000);
        list->AddColumn("Kind", 1800);
        list->AddColumn("Location", 2300);
        const char* kinds[] = {"Cookie", "Registry entry", "File", "Folder", "Excluded item"};
        for (int i = 0; i < 5; ++i) {
            list->AddRow({std::string("Sample item ") + std::to_string(i + 1),
                          {kinds[i], "C:\\Demo"},
                          i + 1,
                          i % 2 == 0});
        }
        list->onItemCheck = [this](std::size_t row) { checkedRows.push_back(row); };
        progress = &Add("pgbScan", ControlType::ProgressBar, status, "", {240, 3840, 7300, 300});
        progress->SetValue(60);
        Add("lblScanning", ControlType::Label, status, "Scanning C:\\Windows\\system32",
            {240, 4260, 6200, 300});
        Add("shpCircle", ControlType::Shape, status, "", {6900, 4200, 480, 480}).SetBackColor(0x3CB371);

        options = &Add("frmOptions", ControlType::Frame, nullptr, "", {2100, 60, 7800, 5700});
        options->SetVisible(false);
        tabs = &Add("TabStrip1", ControlType::TabStrip, options, "", {0, 0, 7800, 5700});
        tabs->AddTab("Scan Options");
        tabs->AddTab("Schedule");
        page0 = &Add("frmView", ControlType::Frame, options, "", {120, 480, 7560, 5100}, 0);
        page1 = &Add("frmView", ControlType::Frame, options, "", {120, 480, 7560, 5100}, 1);
        page1->SetVisible(false);
        tabs->onClick = [this] {
            ++tabClicks;
            page0->SetVisible(tabs->SelectedTab() == 1);
            page1->SetVisible(tabs->SelectedTab() == 2);
        };
        check = &Add("chkMakeLog", ControlType::CheckBox, page0, "Write a log file of every scan",
                     {240, 240, 6000, 330});
        check->onClick = [this] { ++checkClicks; };
        quick = &Add("optQuick", ControlType::OptionButton, page0, "Quick scan of the usual places",
                     {240, 720, 6000, 330});
        full = &Add("optFull", ControlType::OptionButton, page0, "Full scan of every drive",
                    {240, 1080, 6000, 330});
        quick->SetValue(1);
        full->onClick = [this] { ++fullClicks; };
        auto& combo = Add("cboDrive", ControlType::ComboBox, page0, "", {240, 1560, 3000, 330});
        combo.AddItem("C:\\");
        combo.AddItem("D:\\");
        combo.SetListIndex(0);
        date = &Add("dtpDate", ControlType::DatePicker, page1, "", {240, 240, 2400, 345});
        Add("dtpTime", ControlType::TimePicker, page1, "", {240, 720, 2400, 345})
            .SetDateValue(LocalDateTime{2026, 1, 5, 14, 30, 0, 1});
        Add("txtProxy", ControlType::TextBox, page1, "proxy.example:8080", {240, 1200, 4000, 345});

        cmdStatus.onClick = [this] { ShowPanel(*status); };
        cmdOptions.onClick = [this] { ShowPanel(*options); };

        auto& file = Add("mnuFile", ControlType::Menu, nullptr, "&File", {});
        scanItem = &Add("mnuScan", ControlType::Menu, &file, "&Scan Now", {});
        scanItem->onClick = [this] { ++menuClicks; };
        Add("mnuSep", ControlType::Menu, &file, "-", {});
        Add("mnuExit", ControlType::Menu, &file, "E&xit", {});
        auto& help = Add("mnuHelp", ControlType::Menu, nullptr, "&Help", {});
        Add("mnuAbout", ControlType::Menu, &help, "&About", {});
        auto& context = Add("mnuContext", ControlType::Menu, nullptr, "Context", {});
        context.SetVisible(false);
        Add("mnuProperties", ControlType::Menu, &context, "File Properties", {});

        timer = &Add("tmrTick", ControlType::Timer, nullptr, "", {});
        timer->SetInterval(50);
        timer->SetEnabled(true);
        timer->onTimer = [this] { ++ticks; };
        form.onResize = [this] { ++resizes; };
    }

    ui::Control& Add(const char* name, ControlType type, ui::Control* container, const char* caption,
                     ui::Bounds bounds, int index = -1) {
        ui::Control& control = form.Add(name, type, container, index);
        control.SetCaption(caption);
        control.Move(bounds);
        return control;
    }

    void ShowPanel(ui::Control& panel) {
        status->SetVisible(&panel == status);
        options->SetVisible(&panel == options);
    }

    ui::Form form;
    ui::Control* status;
    ui::Control* options;
    ui::Control* list;
    ui::Control* progress;
    ui::Control* tabs;
    ui::Control* page0;
    ui::Control* page1;
    ui::Control* check;
    ui::Control* quick;
    ui::Control* full;
    ui::Control* date;
    ui::Control* scanItem;
    ui::Control* timer;
    std::vector<std::size_t> checkedRows;
    int tabClicks = 0;
    int checkClicks = 0;
    int fullClicks = 0;
    int menuClicks = 0;
    int ticks = 0;
    int resizes = 0;
};

class FormWindows : public ::testing::Test {
protected:
    void SetUp() override {
        demo.form.Show();
        SetForegroundWindow(Hwnd(demo.form));
        Settle(host, 300);
    }

    Win32UiHost host{"AAA"};
    DemoForm demo{host};
};

// Closes the next message box of this process from another thread, as a user pressing OK, and keeps
// its text.
class BoxCloser {
public:
    BoxCloser()
        : thread_([this] {
              const auto end = GetTickCount64() + 5000;
              while (GetTickCount64() < end) {
                  if (HWND box = FindWindowW(L"#32770", nullptr); box && IsWindowVisible(box)) {
                      wchar_t text[512] = L"";
                      GetDlgItemTextW(box, 0xFFFF, text, 512);
                      text_ = text;
                      PostMessageW(box, WM_COMMAND, IDOK, 0);
                      return;
                  }
                  Sleep(20);
              }
          }) {}
    ~BoxCloser() {
        if (thread_.joinable()) {
            thread_.join();
        }
    }
    BoxCloser(const BoxCloser&) = delete;
    BoxCloser& operator=(const BoxCloser&) = delete;

    // The box's text once it was closed (empty when none came).
    std::wstring Text() {
        if (thread_.joinable()) {
            thread_.join();
        }
        return text_;
    }

private:
    std::wstring text_;
    std::thread thread_;
};

// The colour that only one of the list icons has, by icon number: the cookie's crust, the registry's
// blue key, the window on the file's page, the folder's front and the excluded item's green tick.
const COLORREF kIconColours[ui::kListIconCount] = {RGB(205, 150, 80), RGB(90, 150, 230), RGB(236, 242, 250),
                                                   RGB(250, 206, 90), RGB(40, 160, 70)};

// The colours image `index` of the list shows, drawn on white.
std::set<COLORREF> ImageColours(HIMAGELIST list, int index) {
    int width = 0;
    int height = 0;
    ImageList_GetIconSize(list, &width, &height);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all{0, 0, width, height};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ImageList_Draw(list, index, dc, 0, 0, ILD_NORMAL);
    std::set<COLORREF> colours;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            colours.insert(GetPixel(dc, x, y));
        }
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return colours;
}

TEST_F(FormWindows, ListIconsFollowTheRowsIconNumbers) {
    HIMAGELIST icons =
        reinterpret_cast<HIMAGELIST>(SendMessageW(Hwnd(*demo.list), LVM_GETIMAGELIST, LVSIL_SMALL, 0));
    ASSERT_NE(icons, nullptr);
    ASSERT_EQ(ImageList_GetImageCount(icons), ui::kListIconCount);
    const char* names[] = {"cookie", "registry entry", "file", "folder", "excluded item"};
    for (int icon = ui::kIconCookie; icon <= ui::kIconExcluded; ++icon) {
        const auto colours = ImageColours(icons, icon - 1);
        for (int other = 1; other <= ui::kListIconCount; ++other) {
            EXPECT_EQ(colours.count(kIconColours[other - 1]), other == icon ? 1u : 0u)
                << "icon " << icon << " must be the " << names[icon - 1] << ", not the " << names[other - 1];
        }
    }
}

TEST_F(FormWindows, TheInsideSizeIsTheClientAreaInTwipsAfterEveryChange) {
    HWND window = Hwnd(demo.form);
    auto expectClientArea = [&](const char* after) {
        RECT client;
        GetClientRect(window, &client);
        EXPECT_NEAR(demo.form.ScaleWidth(), client.right * host.TwipsPerPixelX(), host.TwipsPerPixelX())
            << after;
        EXPECT_NEAR(demo.form.ScaleHeight(), client.bottom * host.TwipsPerPixelY(), host.TwipsPerPixelY())
            << after;
    };
    expectClientArea("showing, with a menu bar");
    // The layout reads the inside size in the resize handler: it must already be the new one.
    int insideAtResize = 0;
    demo.form.onResize = [&] { insideAtResize = demo.form.ScaleWidth(); };
    SetWindowPos(window, nullptr, 0, 0, 900, 640, SWP_NOMOVE | SWP_NOZORDER);
    ASSERT_TRUE(
        WaitFor(host, [&] { return insideAtResize == demo.form.ScaleWidth() && insideAtResize > 0; }));
    expectClientArea("the user's resize");
    demo.form.Move(600, 600, 8000, 6000);
    Settle(host);
    expectClientArea("the program's move");
    EXPECT_EQ(insideAtResize, demo.form.ScaleWidth());
    ShowWindow(window, SW_MAXIMIZE);
    ASSERT_TRUE(WaitFor(host, [&] { return demo.form.State() == ui::WindowState::Maximized; }));
    expectClientArea("maximised");
    ShowWindow(window, SW_RESTORE);
    ASSERT_TRUE(WaitFor(host, [&] { return demo.form.State() == ui::WindowState::Normal; }));
    demo.form.Get("mnuHelp").SetVisible(false);
    demo.form.Get("mnuFile").SetVisible(false); // no menu bar any more: the inside grows
    Settle(host);
    expectClientArea("the menu bar removed");
}

TEST_F(FormWindows, AFailingHandlerIsReportedAndTheProgramGoesOn) {
    ui::Control& status = demo.form.Get("cmdStatus");
    status.onClick = [&] { demo.form.Get("cmdNoSuchButton"); }; // throws std::out_of_range
    {
        BoxCloser closer;
        ClickCentre(Hwnd(status));
        ASSERT_TRUE(WaitFor(host, [&] { return host.Failures().Count() == 1; }));
        EXPECT_NE(closer.Text().find(L"cmdNoSuchButton"), std::wstring::npos) << "the box names the failure";
    }
    EXPECT_NE(host.Failures().Last().find("message 0x0111"), std::string::npos) << host.Failures().Last();
    // Still alive: the window is there and the next click runs its handler.
    int clicks = 0;
    status.onClick = [&] { ++clicks; };
    ClickCentre(Hwnd(status));
    ASSERT_TRUE(WaitFor(host, [&] { return clicks == 1; }));
    EXPECT_TRUE(IsWindow(Hwnd(demo.form)));

    // A repeating failure (a timer) is boxed once and counted every time.
    demo.timer->onTimer = [&] { throw std::runtime_error("tick failed"); };
    {
        BoxCloser closer;
        ASSERT_TRUE(WaitFor(host, [&] { return host.Failures().Count() >= 4; }));
        EXPECT_NE(closer.Text().find(L"tick failed"), std::wstring::npos);
    }
    demo.timer->SetEnabled(false);
}

TEST_F(FormWindows, RealMouseMovesOverLabelsAndFramesReachTheirControls) {
    ui::Control& welcome = demo.form.Get("lblWelcome");
    ui::Control& button = demo.form.Get("cmdStatus");
    std::vector<std::string> moves; // each control once per visit
    for (ui::Control* control : {&welcome, demo.status, &button}) {
        control->onMouseMove = [&moves, control] {
            if (moves.empty() || moves.back() != control->Name()) {
                moves.push_back(control->Name());
            }
        };
    }
    gui::MoveToCentre(Hwnd(welcome));
    ASSERT_TRUE(WaitFor(host, [&] { return !moves.empty(); }));
    // The frame's own background, below everything it holds.
    gui::MoveTo(Hwnd(*demo.status), host.Scale().XToPixels(3900), host.Scale().YToPixels(5300));
    ASSERT_TRUE(WaitFor(host, [&] { return moves.size() >= 2; }));
    gui::MoveToCentre(Hwnd(button));
    ASSERT_TRUE(WaitFor(host, [&] { return moves.size() >= 3; }));
    EXPECT_EQ(moves, (std::vector<std::string>{"lblWelcome", "frmStatus", "cmdStatus"}));
}

TEST_F(FormWindows, RealPressesReachTheMouseDownHandlerWithTheShiftStateAndATakenPressNeverClicks) {
    ui::Control& button = demo.form.Get("cmdStatus");
    HWND window = Hwnd(button);
    std::vector<ui::MouseDown> presses;
    int clicks = 0;
    bool takeShifted = false;
    button.onClick = [&] { ++clicks; };
    button.onMouseDown = [&](const ui::MouseDown& press) {
        presses.push_back(press);
        if (press.shift && takeShifted) {
            host.ShowMessageBox({"The press is taken", "Grimsweep"});
            return ui::PressOutcome::Taken;
        }
        return ui::PressOutcome::PassOn;
    };
    const int pixel = static_cast<int>(host.TwipsPerPixelX() + 0.5);

    ClickAt(window, 10, 8);
    ASSERT_TRUE(WaitFor(host, [&] { return clicks == 1; })) << "a press passed on still clicks";
    ASSERT_EQ(presses.size(), 1u);
    EXPECT_FALSE(presses[0].shift);
    EXPECT_EQ(presses[0].button, ui::MouseButton::Left);
    EXPECT_NEAR(presses[0].x, host.Scale().XToTwips(10), pixel);
    EXPECT_NEAR(presses[0].y, host.Scale().YToTwips(8), pixel);

    gui::ClickAtHolding(window, 10, 8, VK_SHIFT);
    ASSERT_TRUE(WaitFor(host, [&] { return clicks == 2; }));
    ASSERT_EQ(presses.size(), 2u);
    EXPECT_TRUE(presses[1].shift) << "Shift held";

    takeShifted = true;
    {
        BoxCloser closer;
        gui::ClickAtHolding(window, 10, 8, VK_SHIFT);
        // The press arrives while pumping and shows the box; the pump returns once the closer pressed OK.
        ASSERT_TRUE(WaitFor(host, [&] { return presses.size() == 3; }));
        EXPECT_EQ(closer.Text(), L"The press is taken");
    }
    Settle(host, 300);
    EXPECT_EQ(presses.size(), 3u);
    EXPECT_EQ(clicks, 2) << "the taken press did not click when the box closed";
    EXPECT_NE(GetCapture(), window) << "nor left the button holding the mouse";

    ClickCentre(window);
    ASSERT_TRUE(WaitFor(host, [&] { return clicks == 3; })) << "the next plain click works";
    EXPECT_FALSE(presses.back().shift);
}

TEST_F(FormWindows, TheHourglassShowsOverTheFormAndItsControlsWhileBusy) {
    const HCURSOR wait = LoadCursorW(nullptr, IDC_WAIT);
    const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    HWND window = Hwnd(demo.form);
    ui::Control& welcome = demo.form.Get("lblWelcome");
    ui::Control& button = demo.form.Get("cmdStatus");
    // The question the system asks a window when the mouse moves over it.
    auto pointerOver = [](HWND over, WORD hit) {
        SendMessageW(over, WM_SETCURSOR, reinterpret_cast<WPARAM>(over), MAKELPARAM(hit, WM_MOUSEMOVE));
        return GetCursor();
    };
    const std::vector<HWND> inside{window, Hwnd(welcome), Hwnd(*demo.status), Hwnd(*demo.list), Hwnd(button)};

    demo.form.SetBusyPointer(true);
    for (HWND each : inside) {
        EXPECT_EQ(pointerOver(each, HTCLIENT), wait) << "window " << GetDlgCtrlID(each);
    }
    EXPECT_NE(pointerOver(window, HTBOTTOMRIGHT), wait) << "the frame keeps its sizing pointers";
    demo.form.SetBusyPointer(false);
    for (HWND each : inside) {
        EXPECT_EQ(pointerOver(each, HTCLIENT), arrow) << "window " << GetDlgCtrlID(each);
    }

    // A real mouse over a label, then over a disabled button: a change shows without a move.
    gui::MoveToCentre(Hwnd(welcome));
    Settle(host);
    demo.form.SetBusyPointer(true);
    EXPECT_EQ(GetCursor(), wait);
    button.SetEnabled(false);
    gui::MoveToCentre(Hwnd(button));
    Settle(host);
    EXPECT_EQ(GetCursor(), wait) << "over a disabled button";
    demo.form.SetBusyPointer(false);
    EXPECT_EQ(GetCursor(), arrow);
    button.SetEnabled(true);
}

// A notice in the style of the update windows: borderless, top-most, never taking the activation, out
// of the task list, with a label and an OK button, over the middle of the demo window.
struct NoticeForm {
    explicit NoticeForm(Win32UiHost& host) : form(host, "frmNotice") {
        form.SetStyle({.borderless = true, .topMost = true, .noActivate = true});
        form.SetShowInTaskList(false);
        form.SetCaption("Notice");
        form.Move(3000, 3000, 4200, 1800);
        ui::Control& label = form.Add("lblInfo", ControlType::Label);
        label.SetCaption("Your definitions have been updated!");
        label.Move(180, 180, 3840, 600);
        ok = &form.Add("cmdOK", ControlType::CommandButton);
        ok->SetCaption("OK");
        ok->Move(2880, 1200, 1140, 420);
        ok->onClick = [this] { ++okClicks; };
    }
    ui::Form form;
    ui::Control* ok;
    int okClicks = 0;
};

TEST_F(FormWindows, ABorderlessTopMostNoticeShowsAndMovesWithoutTakingTheActivation) {
    HWND main = Hwnd(demo.form);
    ASSERT_EQ(GetForegroundWindow(), main);
    NoticeForm notice(host);
    notice.form.Show();
    Settle(host);
    HWND window = Hwnd(notice.form);
    ASSERT_TRUE(IsWindowVisible(window));
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, 0) << "no caption";
    EXPECT_EQ(style & (WS_THICKFRAME | WS_BORDER | WS_DLGFRAME), 0) << "no border";
    const LONG ex = GetWindowLongW(window, GWL_EXSTYLE);
    EXPECT_NE(ex & WS_EX_TOPMOST, 0);
    EXPECT_NE(ex & WS_EX_NOACTIVATE, 0);
    EXPECT_NE(ex & WS_EX_TOOLWINDOW, 0) << "out of the task list and the window switcher";
    EXPECT_EQ(ex & WS_EX_APPWINDOW, 0);
    EXPECT_EQ(GetForegroundWindow(), main) << "showing it leaves the foreground where it was";
    EXPECT_EQ(GetActiveWindow(), main);
    RECT frame;
    GetWindowRect(window, &frame);
    EXPECT_NEAR(notice.form.ScaleWidth(), (frame.right - frame.left) * host.TwipsPerPixelX(),
                host.TwipsPerPixelX())
        << "the inside is the whole window";

    // Above the active window where they overlap, though that one is in front of every other.
    SetForegroundWindow(main);
    Settle(host);
    const POINT middle{(frame.left + frame.right) / 2, (frame.top + frame.bottom) / 2};
    HWND under = WindowFromPoint(middle);
    EXPECT_TRUE(under == window || IsChild(window, under));

    // Sliding up by the program's moves every 10 ms, hidden and shown again: still not active.
    for (int step = 0; step < 30; ++step) {
        const ui::Bounds at = notice.form.Position();
        notice.form.Move(at.left, at.top - 20, at.width, at.height);
        Settle(host, 10);
    }
    GetWindowRect(window, &frame);
    EXPECT_NEAR(frame.top, host.Scale().YToPixels(3000 - 30 * 20), 1);
    notice.form.Hide();
    Settle(host);
    notice.form.Show();
    Settle(host);
    EXPECT_EQ(GetForegroundWindow(), main) << "after its moves and a second show";
    EXPECT_EQ(GetActiveWindow(), main);
    EXPECT_TRUE(gui::SaveWindowPng(window, "gui_notice_" + DpiTag(host) + "dpi.png"));

    // A click on its background leaves the activation alone; a click on OK still reaches the button.
    ClickAt(window, 4, 4);
    Settle(host, 300);
    EXPECT_EQ(GetForegroundWindow(), main) << "a click on the notice itself";
    ClickCentre(Hwnd(*notice.ok));
    ASSERT_TRUE(WaitFor(host, [&] { return notice.okClicks == 1; }));

    // The demo window, styled as before: framed, not top-most, in the task list.
    EXPECT_EQ(GetWindowLongW(main, GWL_STYLE) & WS_CAPTION, WS_CAPTION);
    EXPECT_EQ(GetWindowLongW(main, GWL_EXSTYLE) & (WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW), 0);
    notice.form.Unload();
}

TEST(FormWindowCreation, AWindowThatCannotBeMadeIsReportedWithItsErrorCode) {
    Win32UiHost host;
    ui::Form form(host, "frmBroken");
    // Without its window class the form's window cannot be made.
    ASSERT_TRUE(UnregisterClassW(kFormClass, GetModuleHandleW(nullptr)));
    {
        BoxCloser closer;
        form.Show();
        EXPECT_NE(closer.Text().find(L"frmBroken"), std::wstring::npos);
    }
    EXPECT_EQ(form.hostHandle, 0u);
    // The code the system gives for that failure (1407 on Windows, 1411 under Wine).
    ASSERT_EQ(CreateWindowExW(0, kFormClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr),
              nullptr);
    const std::string code = std::to_string(GetLastError());
    EXPECT_EQ(host.Failures().Last(), "CreateWindowExW (form frmBroken) failed with error " + code);
    form.Unload();
}

TEST(FormWindowIcons, EveryWindowAndItsClassCarryTheProgramIcon) {
    Win32UiHost host("AAA");
    // A form that names no icon of its own, as the splash, the tray popup and the website opener.
    ui::Form plain(host, "frmSplash");
    plain.SetShowInTaskList(false);
    plain.Load();
    HWND window = Hwnd(plain);
    ASSERT_NE(window, nullptr);
    HWND owner = GetWindow(window, GW_OWNER);
    ASSERT_NE(owner, nullptr) << "out of the task list, owned by the hidden owner";
    for (HWND each : {window, owner}) {
        EXPECT_NE(SendMessageW(each, WM_GETICON, ICON_BIG, 0), 0);
        EXPECT_NE(SendMessageW(each, WM_GETICON, ICON_SMALL, 0), 0);
        EXPECT_NE(GetClassLongPtrW(each, GCLP_HICON), 0);
        EXPECT_NE(GetClassLongPtrW(each, GCLP_HICONSM), 0);
    }
    plain.Unload();
}

TEST_F(FormWindows, RendersEveryControlWithTheModelsState) {
    HWND window = Hwnd(demo.form);
    ASSERT_TRUE(IsWindowVisible(window));
    wchar_t text[64];
    GetWindowTextW(window, text, 64);
    EXPECT_STREQ(text, L"Grimsweep form demo");
    EXPECT_NE(SendMessageW(window, WM_GETICON, ICON_SMALL, 0), 0) << "the icon AAA of the executable";

    // Twips to pixels from the real resolution, for the form and for a control inside a frame.
    RECT rect;
    GetWindowRect(window, &rect);
    EXPECT_NEAR(rect.right - rect.left, 10200 / host.TwipsPerPixelX(), 1);
    HWND list = Hwnd(*demo.list);
    GetWindowRect(list, &rect);
    EXPECT_NEAR(rect.right - rect.left, 7300 / host.TwipsPerPixelX(), 1);
    EXPECT_EQ(GetParent(list), Hwnd(*demo.status));

    EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 5);
    EXPECT_EQ(ListView_GetCheckState(list, 0), TRUE);
    EXPECT_EQ(ListView_GetCheckState(list, 1), FALSE);
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = 4;
    ListView_GetItem(list, &item);
    EXPECT_EQ(item.iImage, 4) << "icon 5, the excluded item";
    EXPECT_EQ(SendMessageW(Hwnd(*demo.progress), PBM_GETPOS, 0, 0), 60);
    EXPECT_EQ(SendMessageW(Hwnd(*demo.quick), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_FALSE(IsWindowVisible(Hwnd(*demo.check))) << "its panel is hidden";

    // The menu bar holds the visible top-level menus only; the hidden context menu is not in it.
    HMENU bar = GetMenu(window);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(GetMenuItemCount(bar), 2);
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(bar, 0)), 3);

    // A date picker that holds no value.
    SYSTEMTIME time{};
    EXPECT_EQ(SendMessageW(Hwnd(*demo.date), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time)),
              GDT_NONE);

    EXPECT_TRUE(gui::SaveWindowPng(window, "gui_status_" + DpiTag(host) + "dpi.png"));
}

TEST_F(FormWindows, RealClicksRunTheModelsHandlersOnce) {
    HWND window = Hwnd(demo.form);
    // Navigation: the Settings button shows the options panel.
    ClickCentre(Hwnd(demo.form.Get("cmdOptions")));
    ASSERT_TRUE(WaitFor(host, [&] { return demo.options->Visible(); }));
    EXPECT_FALSE(demo.status->Visible());
    Settle(host);
    EXPECT_TRUE(IsWindowVisible(Hwnd(*demo.check)));

    // A check box: a user click ticks it and runs its handler once; the program's change does not come
    // back as a click.
    ClickAt(Hwnd(*demo.check), 8, 8);
    ASSERT_TRUE(WaitFor(host, [&] { return demo.check->Value() == 1; }));
    Settle(host);
    EXPECT_EQ(demo.checkClicks, 1);
    demo.check->SetValue(0);
    Settle(host);
    EXPECT_EQ(demo.checkClicks, 2); // the program's own assignment, nothing more
    EXPECT_EQ(SendMessageW(Hwnd(*demo.check), BM_GETCHECK, 0, 0), BST_UNCHECKED);

    // Options: clicking the second clears the first.
    ClickAt(Hwnd(*demo.full), 8, 8);
    ASSERT_TRUE(WaitFor(host, [&] { return demo.full->Value() == 1; }));
    EXPECT_EQ(demo.quick->Value(), 0);
    EXPECT_EQ(SendMessageW(Hwnd(*demo.quick), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(demo.fullClicks, 1);
    EXPECT_TRUE(gui::SaveWindowPng(window, "gui_options_" + DpiTag(host) + "dpi.png"));

    // The tab strip: a click on the second tab selects it and switches the pages.
    RECT tab;
    SendMessageW(Hwnd(*demo.tabs), TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&tab));
    ClickAt(Hwnd(*demo.tabs), (tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
    ASSERT_TRUE(WaitFor(host, [&] { return demo.tabs->SelectedTab() == 2; }));
    EXPECT_EQ(demo.tabClicks, 1);
    Settle(host);
    EXPECT_TRUE(IsWindowVisible(Hwnd(*demo.date)));
    EXPECT_FALSE(IsWindowVisible(Hwnd(*demo.check)));
    demo.tabs->SelectTab(1); // the program's choice runs the handler once, the window stays quiet
    Settle(host);
    EXPECT_EQ(demo.tabClicks, 2);
    EXPECT_EQ(SendMessageW(Hwnd(*demo.tabs), TCM_GETCURSEL, 0, 0), 0);

    // Back to the status panel; a click on the check box (state image) of row 2 ticks it.
    ClickCentre(Hwnd(demo.form.Get("cmdStatus")));
    ASSERT_TRUE(WaitFor(host, [&] { return demo.status->Visible(); }));
    Settle(host);
    HWND list = Hwnd(*demo.list);
    RECT icon{};
    icon.left = LVIR_ICON;
    SendMessageW(list, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&icon));
    int stateWidth = 0;
    int stateHeight = 0;
    ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(SendMessageW(list, LVM_GETIMAGELIST, LVSIL_STATE, 0)),
                          &stateWidth, &stateHeight);
    ClickAt(list, icon.left - stateWidth / 2 - 1, (icon.top + icon.bottom) / 2);
    ASSERT_TRUE(WaitFor(host, [&] { return demo.list->Rows()[1].checked; }));
    Settle(host);
    EXPECT_EQ(demo.checkedRows, std::vector<std::size_t>{1});
    // The program's own tick and new rows reach the window without raising item-check events.
    demo.list->SetRowChecked(3, true);
    demo.list->AddRow({"Added later", {"Cookie"}, ui::kIconCookie, true});
    Settle(host);
    EXPECT_EQ(demo.checkedRows, (std::vector<std::size_t>{1, 3}));
    EXPECT_EQ(ListView_GetCheckState(list, 3), TRUE);
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 6);
    EXPECT_EQ(ListView_GetCheckState(list, 5), TRUE);
    demo.list->RemoveRow(0);
    Settle(host);
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 5);
    EXPECT_EQ(ListView_GetCheckState(list, 0), TRUE) << "the old row 2, ticked above";

    // A menu command reaches the item's handler.
    PostMessageW(window, WM_COMMAND, GetMenuItemID(GetSubMenu(GetMenu(window), 0), 0), 0);
    ASSERT_TRUE(WaitFor(host, [&] { return demo.menuClicks == 1; }));
}

TEST_F(FormWindows, EnterInATextBoxReachesItsKeyHandlerOnceAndTypingStillWorks) {
    ui::Control& box = demo.form.Get("txtProxy");
    int returns = 0;
    box.onKeyPress = [&](int key) {
        returns += key == ui::kKeyReturn ? 1 : 0;
        return key == ui::kKeyReturn;
    };
    demo.options->SetVisible(true);
    demo.status->SetVisible(false);
    demo.tabs->SelectTab(2);
    Settle(host);
    ClickCentre(Hwnd(box));
    Settle(host);
    gui::PressKeys({VK_END, 'A', VK_RETURN});
    ASSERT_TRUE(WaitFor(host, [&] { return returns == 1; }));
    Settle(host);
    EXPECT_EQ(returns, 1);
    EXPECT_EQ(box.Text(), "proxy.example:8080a") << "the other keys type as before, Enter adds nothing";
}

TEST_F(FormWindows, TimersResizesControlsAddedLaterAndTheCloseBox) {
    const int before = demo.ticks;
    ASSERT_TRUE(WaitFor(host, [&] { return demo.ticks >= before + 3; }));
    demo.timer->SetEnabled(false);
    Settle(host);
    const int stopped = demo.ticks;
    Settle(host, 300);
    EXPECT_EQ(demo.ticks, stopped);

    // The user maximises and restores: the model follows, with one resize each.
    HWND window = Hwnd(demo.form);
    const int resizes = demo.resizes;
    ShowWindow(window, SW_MAXIMIZE);
    ASSERT_TRUE(WaitFor(host, [&] { return demo.form.State() == ui::WindowState::Maximized; }));
    EXPECT_EQ(demo.resizes, resizes + 1);
    ShowWindow(window, SW_RESTORE);
    ASSERT_TRUE(WaitFor(host, [&] { return demo.form.State() == ui::WindowState::Normal; }));
    EXPECT_NEAR(demo.form.Position().width, 10200, 30);
    // The program's own move does not come back as a user change.
    const int afterRestore = demo.resizes;
    demo.form.Move(900, 900, 9000, 6600);
    Settle(host);
    EXPECT_EQ(demo.resizes, afterRestore + 1);

    // A control added after load gets its window at once; caption changes reach it.
    ui::Control& late = demo.form.Add("lblLate", ControlType::Label, demo.status);
    late.SetCaption("Added after load");
    late.Move(240, 4700, 4000, 300);
    ASSERT_NE(Hwnd(late), nullptr);
    EXPECT_EQ(GetParent(Hwnd(late)), Hwnd(*demo.status));
    wchar_t text[64];
    GetWindowTextW(Hwnd(late), text, 64);
    EXPECT_STREQ(text, L"Added after load");

    // The close box asks the model, which may refuse.
    bool allow = false;
    int asked = 0;
    demo.form.onCloseRequest = [&] {
        ++asked;
        return allow;
    };
    PostMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitFor(host, [&] { return asked == 1; }));
    EXPECT_TRUE(IsWindow(window));
    allow = true;
    PostMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitFor(host, [&] { return !demo.form.Loaded(); }));
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(FormWindows, AModalFormDisablesTheOthersAndReturnsWhenClosed) {
    ui::Form dialog(host, "frmAbout");
    dialog.SetCaption("About");
    dialog.Move(1500, 1500, 5000, 3000);
    ui::Control& ok = dialog.Add("cmdOK", ControlType::CommandButton);
    ok.SetCaption("OK");
    ok.Move(3300, 1800, 1200, 450);
    ok.onClick = [&] { dialog.Hide(); };
    bool ownerDisabled = false;
    int clickedAt = 0;
    // The main form's timer presses OK with a real click once the dialogue is up.
    demo.timer->onTimer = [&] {
        if (dialog.Visible() && Hwnd(dialog) && !clickedAt) {
            clickedAt = 1;
            ownerDisabled = !IsWindowEnabled(Hwnd(demo.form));
            SetForegroundWindow(Hwnd(dialog));
            ClickCentre(Hwnd(ok));
        }
    };
    dialog.Show(true);
    EXPECT_EQ(clickedAt, 1);
    EXPECT_TRUE(ownerDisabled);
    EXPECT_FALSE(dialog.Visible());
    EXPECT_TRUE(IsWindowEnabled(Hwnd(demo.form)));
}

} // namespace
} // namespace grimsweep::win32
