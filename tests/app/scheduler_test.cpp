// Scheduled scans on the main window, on the virtual clock: when the scan starts, how often, what it
// removes, and what Apply, Load and Reset do with the schedule controls and the stored schedule.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/main_window_controls.h"
#include "core/settings_keys.h"
#include "definitions/definition_files.h"
#include "main_window_fixture.h"
#include "scheduler/schedule_text.h"
#include "scheduler/scheduler.h"
#include "ui/list_icons.h"

namespace grimsweep {
namespace {

using namespace settings;

// Wednesday 9 December 2026.
const LocalDateTime kWednesdayBeforeNoon{2026, 12, 9, 11, 59, 59, 3, 0};
const LocalDateTime kNoon{2026, 1, 1, 12, 0, 0, 4, 0};
const std::string kThreat = "C:\\Temp\\gloom.exe";

class SchedulerTest : public MainWindowTest {
protected:
    SchedulerTest() { Restart(); }

    // The program (again) on the same machine, in the background where the scheduler runs.
    void Restart() {
        sim.system.FollowClock(nullptr); // the clock stands while the host is replaced
        ReleaseInstanceLock();
        Start();
        sim.system.FollowClock([this] { return host->Milliseconds(); });
        Open();
        for (std::string_view name : {kFileDefinitionFile, kRegistryDefinitionFile, kExeDefinitionFile,
                                      kBlockedCookiesFile, kDirectoryDefinitionFile}) {
            sim.files.PutFile(context->DataFile(name), "");
        }
        // The file stage finds one file, and records when each scan ran and whether it removes.
        window->Scan().stages = {};
        window->Scan().stages.files = [this](ScanRun&) {
            scans.push_back({sim.system.Now(), window->ScanStatus().removeAfterScan});
            sim.files.PutFile(kThreat, "MZ gloom");
            window->ScanResults().AddRemovalRow("Gloom", ui::kIconFile, kThreat, "");
            window->ScanResults().AddFileRow(kThreat, "Gloom");
            if (inScan) {
                inScan();
            }
        };
        window->Window().SetState(ui::WindowState::Minimized);
    }
    // Sets the schedule as the user does on the Schedule page and presses Apply.
    void Apply(int day, std::optional<LocalDateTime> time, std::optional<LocalDateTime> date = std::nullopt) {
        if (Control(kScheduledScans).Value() == 0) {
            Control(kScheduledScans).Click();
        }
        Control("cmbDays").SetListIndex(day);
        Control("dtpScheduleTime").SetDateValue(time);
        Control("dtpScheduleDate").SetDateValue(date);
        Control("CmdProceed").Click();
    }
    // Runs the clock over noon: from 11:59:59.000 of that day to 12:00:02.
    void RunOverNoon(LocalDateTime day) {
        day.hour = 11;
        day.minute = 59;
        day.second = 59;
        sim.system.SetNow(day);
        host->Advance(3000);
    }

    struct Scan {
        LocalDateTime at;
        bool removes = false;
    };
    std::vector<Scan> scans;
    std::function<void()> inScan;
};

TEST_F(SchedulerTest, DailyStartsOnceWithinTenMillisecondsOfTheSecondHoweverLongTheScan) {
    Apply(kScheduleDaily, kNoon);
    ASSERT_EQ(Setting(kSectionOptions, kScheduleTime), "2026-01-01 12:00:00");
    RunOverNoon(kWednesdayBeforeNoon);
    ASSERT_EQ(scans.size(), 1u) << "a scan shorter than a second starts once in its second";
    EXPECT_EQ(scans[0].at.hour, 12);
    EXPECT_EQ(scans[0].at.second, 0);
    EXPECT_LT(scans[0].at.millisecond, 10);
    EXPECT_FALSE(scans[0].removes);

    // The next day, a scan that lasts 1.5 seconds.
    inScan = [this] { host->Advance(1500); };
    RunOverNoon({2026, 12, 10, 0, 0, 0, 4, 0});
    ASSERT_EQ(scans.size(), 2u);
    EXPECT_EQ(scans[1].at.day, 10);
}

TEST_F(SchedulerTest, WeeklyRunsOnlyOnItsWeekdayAndADateScheduleOnlyOnItsDate) {
    Apply(0, kNoon); // Monday
    RunOverNoon(kWednesdayBeforeNoon);
    EXPECT_TRUE(scans.empty());
    RunOverNoon({2026, 12, 14, 0, 0, 0, 1, 0});
    ASSERT_EQ(scans.size(), 1u);
    EXPECT_EQ(scans[0].at.dayOfWeek, 1);

    Apply(kScheduleDateAndTime, kNoon, LocalDateTime{2026, 12, 17, 0, 0, 0, 4, 0});
    EXPECT_EQ(Setting(kSectionOptions, kScheduleDate), "2026-12-17 00:00:00");
    RunOverNoon({2026, 12, 16, 0, 0, 0, 3, 0});
    RunOverNoon({2026, 12, 18, 0, 0, 0, 5, 0});
    EXPECT_EQ(scans.size(), 1u);
    RunOverNoon({2026, 12, 17, 0, 0, 0, 4, 0});
    ASSERT_EQ(scans.size(), 2u);
    EXPECT_EQ(scans[1].at.day, 17);
}

TEST_F(SchedulerTest, ADateScheduleWithoutTimeOrDateAsksForTheDateAndStoresNothing) {
    Control(kScheduledScans).Click();
    Control("cmbDays").SetListIndex(kScheduleDateAndTime);
    for (auto [time, date] : {std::pair<std::optional<LocalDateTime>, std::optional<LocalDateTime>>{
                                  std::nullopt, LocalDateTime{2026, 12, 17, 0, 0, 0, 4, 0}},
                              {kNoon, std::nullopt}}) {
        Control("dtpScheduleTime").SetDateValue(time);
        Control("dtpScheduleDate").SetDateValue(date);
        const std::size_t before = host->Shown().size();
        Control("CmdProceed").Click();
        ASSERT_EQ(host->Shown().size(), before + 1);
        EXPECT_EQ(host->Shown().back().text, "Please select the date that you want to scan.");
        EXPECT_EQ(host->Shown().back().icon, MessageBoxIcon::Information);
        EXPECT_EQ(host->Shown().back().title, context->brand.programName);
        for (auto key : {kScheduledScans, kScheduleDay, kScheduleTime, kScheduleDate}) {
            EXPECT_EQ(Setting(kSectionOptions, key), "<unset>") << key;
        }
    }
}

TEST_F(SchedulerTest, SwitchingOffStoresZeroStopsTheTimerAndKeepsTheSchedule) {
    Apply(kScheduleDateAndTime, kNoon, LocalDateTime{2026, 12, 17, 0, 0, 0, 4, 0});
    ASSERT_TRUE(TimerOn("tmrScheduler"));
    EXPECT_FALSE(Control("CmdProceed").Enabled()) << "nothing left to apply";

    Control(kScheduledScans).Click();
    EXPECT_FALSE(Control("cmbDays").Enabled());
    EXPECT_FALSE(Control("dtpScheduleTime").Enabled());
    EXPECT_FALSE(TimerOn("tmrScheduler"));
    Control("cmbDays").SetListIndex(kScheduleNever);
    Control("CmdProceed").Click();
    EXPECT_EQ(Setting(kSectionOptions, kScheduledScans), "0");
    EXPECT_EQ(Setting(kSectionOptions, kScheduleDay), "8");
    EXPECT_EQ(Setting(kSectionOptions, kScheduleTime), "2026-01-01 12:00:00");
    EXPECT_EQ(Setting(kSectionOptions, kScheduleDate), "2026-12-17 00:00:00");
    window->SetBackgroundTimers(true);
    EXPECT_FALSE(TimerOn("tmrScheduler"));
    RunOverNoon({2026, 12, 17, 0, 0, 0, 4, 0});
    EXPECT_TRUE(scans.empty());
}

TEST_F(SchedulerTest, OnlyAScheduledScanWithAutomaticDeletionRemovesAndAsksNothing) {
    Control(kAutoDelete).Click();
    EXPECT_EQ(Setting(kSectionSettings, kAutoDelete), "1");
    Apply(kScheduleDaily, kNoon);
    const std::size_t boxes = host->Shown().size();
    RunOverNoon(kWednesdayBeforeNoon);
    ASSERT_EQ(scans.size(), 1u);
    EXPECT_TRUE(scans[0].removes);
    EXPECT_FALSE(sim.files.Exists(kThreat));
    EXPECT_TRUE(Control(kRemovalList).Rows().empty());
    EXPECT_EQ(host->Shown().size(), boxes) << "no question, no message";
    EXPECT_FALSE(window->ScanStatus().removeAfterScan);

    // The user's own scan, a second later, leaves the finding for the user to choose.
    Control("cmdScanNow").Click();
    ASSERT_EQ(scans.size(), 2u);
    EXPECT_FALSE(scans[1].removes);
    EXPECT_TRUE(sim.files.Exists(kThreat));
    EXPECT_EQ(Control(kRemovalList).Rows().size(), 1u);
    EXPECT_EQ(host->Shown().size(), boxes);
}

TEST_F(SchedulerTest, NoScheduledScanStartsWhileTheUserScans) {
    Apply(kScheduleDaily, kNoon);
    sim.system.SetNow({2026, 12, 9, 11, 59, 59, 3, 500});
    // The user's scan runs over the scheduled second and ends after it.
    bool timerDuringScan = true;
    inScan = [&] {
        inScan = nullptr;
        timerDuringScan = TimerOn("tmrScheduler");
        host->Advance(1600);
    };
    Control("cmdScanNow").Click();
    host->Advance(2000);
    EXPECT_FALSE(timerDuringScan);
    ASSERT_EQ(scans.size(), 1u);
    EXPECT_EQ(scans[0].at.second, 59) << "only the user's";
}

TEST_F(SchedulerTest, AStoredTimeInAnotherFormNeverFires) {
    context->settings.Write(kSectionOptions, kScheduledScans, "1");
    context->settings.Write(kSectionOptions, kScheduleDay, "7");
    for (const char* stored : {"12:00:00", "9.12.2026 12:00:00", "12/9/2026 12:00:00 PM", "garbage"}) {
        context->settings.Write(kSectionOptions, kScheduleTime, stored);
        Restart();
        EXPECT_TRUE(TimerOn("tmrScheduler"));
        EXPECT_FALSE(Control("dtpScheduleTime").DateValue().has_value()) << stored;
        RunOverNoon(kWednesdayBeforeNoon);
        EXPECT_TRUE(scans.empty()) << stored;
    }
}

TEST_F(SchedulerTest, TheNextStartShowsTheStoredScheduleAndResetPutsItBack) {
    // Never applied: Daily, nothing ticked.
    EXPECT_EQ(Control("cmbDays").Items().size(), 10u);
    EXPECT_EQ(Control("cmbDays").Items()[8], "Date & Time");
    EXPECT_EQ(Control("cmbDays").ListIndex(), kScheduleDaily);
    EXPECT_EQ(Control(kScheduledScans).Value(), 0);
    EXPECT_FALSE(Control("cmbDays").Enabled());

    Control(kAutoDelete).Click();
    const LocalDateTime date{2026, 12, 17, 0, 0, 0, 4, 0};
    Apply(kScheduleDateAndTime, LocalDateTime{2026, 12, 9, 21, 45, 30, 3, 0}, date);
    Restart();
    EXPECT_EQ(Control(kScheduledScans).Value(), 1);
    EXPECT_EQ(Control(kAutoDelete).Value(), 1);
    EXPECT_EQ(Control("cmbDays").ListIndex(), kScheduleDateAndTime);
    ASSERT_TRUE(Control("dtpScheduleTime").DateValue().has_value());
    EXPECT_EQ(ScheduleText(Control("dtpScheduleTime").DateValue()), "2026-12-09 21:45:30");
    EXPECT_EQ(Control("dtpScheduleDate").DateValue(), date);
    EXPECT_TRUE(Control("dtpScheduleDate").Enabled());
    EXPECT_TRUE(Control("dtpScheduleTime").Enabled());
    EXPECT_FALSE(Control("CmdProceed").Enabled());

    // Changes not applied go back to the stored schedule with Reset.
    Control("cmbDays").SetListIndex(2);
    EXPECT_FALSE(Control("dtpScheduleDate").DateValue().has_value());
    EXPECT_TRUE(Control("CmdProceed").Enabled());
    Control("cmdReset").Click();
    EXPECT_EQ(Control("cmbDays").ListIndex(), kScheduleDateAndTime);
    EXPECT_EQ(Control("dtpScheduleDate").DateValue(), date);
    EXPECT_FALSE(Control("CmdProceed").Enabled());
    EXPECT_EQ(Setting(kSectionOptions, kScheduleDay), "8");
}

} // namespace
} // namespace grimsweep
