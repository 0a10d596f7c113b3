// The Schedule page of the main window in real windows, driven with real input: the enable box, a day
// chosen in the combo box, the pickers' own check boxes and a field changed from the keyboard must reach
// the model as the user left them, and Apply stores what the pickers show in the real registry.
#include "platform/win32/windows_api.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/main_window_controls.h"
#include "core/context.h"
#include "core/settings_keys.h"
#include "gui/mouse.h"
#include "platform/win32/win32_machine.h"
#include "platform/win32/win32_ui_host.h"
#include "scheduler/schedule_text.h"
#include "scheduler/scheduler.h"
#include "screenshot.h"
#include "win32/branded_system.h"

namespace grimsweep::win32 {
namespace {

using namespace settings;
using gui::ClickAt;
using gui::ClickCentre;
using gui::PressKeys;

HWND Hwnd(const ui::Control& control) {
    return reinterpret_cast<HWND>(control.hostHandle);
}

// What a real picker shows: its date and time, or nothing when its check box is clear.
std::optional<LocalDateTime> Shown(const ui::Control& picker) {
    SYSTEMTIME time{};
    if (SendMessageW(Hwnd(picker), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time)) != GDT_VALID) {
        return std::nullopt;
    }
    return LocalDateTime{time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond, 0, 0};
}

// To the second, as the schedule keeps it.
std::string Text(const std::optional<LocalDateTime>& value) {
    return ScheduleText(value);
}

class SchedulePage : public ::testing::Test {
protected:
    void SetUp() override {
        machine.registry.DeleteKeyTree(RegistryRoot::CurrentUser, kTestCompanyKey);
        BuildMainWindowControls(form);
        scheduler = std::make_unique<Scheduler>(context, form, autoDelete, [] {});
        scheduler->LoadSchedule();
        form.Get("tmrScheduler").SetEnabled(false);
        // The Options panel on its Schedule page.
        for (std::string_view panel : {kStatusPanel, kScanPanel, kResultsPanel}) {
            form.Get(panel).SetVisible(false);
        }
        for (ui::Control* page : form.Array(kOptionsPage)) {
            page->SetVisible(page->Index() == 2);
        }
        form.Get(kTabStrip).SelectTab(3);
        form.Show();
        SetForegroundWindow(reinterpret_cast<HWND>(form.hostHandle));
        Settle(300);
    }
    void TearDown() override {
        form.Unload();
        machine.registry.DeleteKeyTree(RegistryRoot::CurrentUser, kTestCompanyKey);
    }

    // Pumps messages until the condition holds or two seconds have passed.
    bool WaitFor(const std::function<bool()>& condition) {
        const auto end = GetTickCount64() + 2000;
        while (GetTickCount64() < end) {
            host.PumpMessages();
            if (condition()) {
                return true;
            }
            Sleep(10);
        }
        return condition();
    }
    void Settle(int milliseconds = 150) {
        const auto end = GetTickCount64() + static_cast<ULONGLONG>(milliseconds);
        while (GetTickCount64() < end) {
            host.PumpMessages();
            Sleep(10);
        }
    }
    // The picker's own check box (a child button of the picker).
    HWND PickerCheckBox(const ui::Control& picker) {
        return FindWindowExW(Hwnd(picker), nullptr, L"Button", nullptr);
    }
    ui::Control& Control(std::string_view name) { return form.Get(name); }

    Win32Machine machine;
    BrandedSystem system;
    Win32UiHost host{"AAA"};
    Context context{BrandedView(machine, system), host};
    ui::Form form{host, std::string(kMainWindowName)};
    bool autoDelete = false;
    std::unique_ptr<Scheduler> scheduler;
};

TEST_F(SchedulePage, RealInputReachesTheModelAndApplyStoresWhatThePickersShow) {
    ui::Control& enable = Control(kScheduledScans);
    ui::Control& days = Control("cmbDays");
    ui::Control& date = Control("dtpScheduleDate");
    ui::Control& time = Control("dtpScheduleTime");
    ASSERT_EQ(SendMessageW(Hwnd(days), CB_GETCOUNT, 0, 0), 10);
    EXPECT_EQ(SendMessageW(Hwnd(days), CB_GETCURSEL, 0, 0), kScheduleDaily);
    EXPECT_FALSE(IsWindowEnabled(Hwnd(days)));

    ClickAt(Hwnd(enable), 8, 8);
    ASSERT_TRUE(WaitFor([&] { return enable.Value() == 1; }));
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(Hwnd(days)) != FALSE; }));

    // "Date & Time", the entry after "Daily", from the drop-down list.
    ClickCentre(Hwnd(days));
    Settle(300);
    PressKeys({VK_DOWN, VK_RETURN});
    ASSERT_TRUE(WaitFor([&] { return days.ListIndex() == kScheduleDateAndTime; }));
    EXPECT_EQ(SendMessageW(Hwnd(days), CB_GETCURSEL, 0, 0), kScheduleDateAndTime);
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(Hwnd(date)) != FALSE; }));

    // Both pickers start without a value; their check boxes give them one.
    EXPECT_FALSE(Shown(date).has_value());
    EXPECT_FALSE(date.DateValue().has_value());
    for (ui::Control* picker : {&date, &time}) {
        HWND box = PickerCheckBox(*picker);
        ASSERT_NE(box, nullptr) << picker->Name();
        ClickCentre(box);
        EXPECT_TRUE(WaitFor([&] { return picker->DateValue().has_value(); })) << picker->Name();
        EXPECT_EQ(Text(picker->DateValue()), Text(Shown(*picker))) << picker->Name();
    }

    // A field of the time changed from the keyboard: click it, then the up arrow.
    const std::string before = Text(time.DateValue());
    RECT box{};
    GetWindowRect(PickerCheckBox(time), &box);
    RECT picker{};
    GetWindowRect(Hwnd(time), &picker);
    ClickAt(Hwnd(time), box.right - picker.left + 8, (picker.bottom - picker.top) / 2);
    Settle(200);
    PressKeys({VK_UP});
    EXPECT_TRUE(WaitFor([&] { return Text(time.DateValue()) != before; }));
    EXPECT_EQ(Text(time.DateValue()), Text(Shown(time)));
    EXPECT_TRUE(gui::SaveWindowPng(reinterpret_cast<HWND>(form.hostHandle), "gui_schedule_page.png"));

    ClickCentre(Hwnd(Control("CmdProceed")));
    ASSERT_TRUE(WaitFor([&] { return context.settings.Read(kSectionOptions, kScheduleDay, "") == "8"; }));
    EXPECT_EQ(context.settings.Read(kSectionOptions, kScheduledScans, ""), "1");
    EXPECT_EQ(context.settings.Read(kSectionOptions, kScheduleTime, ""), Text(Shown(time)));
    EXPECT_EQ(context.settings.Read(kSectionOptions, kScheduleDate, ""), Text(Shown(date)));
    EXPECT_FALSE(IsWindowEnabled(Hwnd(Control("CmdProceed"))));

    // Clearing a picker's check box leaves it without a value, in the window and in the model.
    ClickCentre(PickerCheckBox(time));
    EXPECT_TRUE(WaitFor([&] { return !time.DateValue().has_value(); }));
    EXPECT_FALSE(Shown(time).has_value());
    EXPECT_TRUE(IsWindowEnabled(Hwnd(Control("CmdProceed"))));
}

} // namespace
} // namespace grimsweep::win32
