// The schedule on the real machine under German regional settings: what Apply stores in the registry
// reads back to the same second, and the scheduler fires on the real clock. The CTest entry
// win32_german_locale runs these with GRIMSWEEP_WINE_LANG=de_DE.UTF-8, for which scripts/wine-exec
// restarts the wineserver; without it they are skipped.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window_controls.h"
#include "core/context.h"
#include "core/settings_keys.h"
#include "platform/win32/win32_machine.h"
#include "scheduler/schedule_text.h"
#include "scheduler/scheduler.h"
#include "ui/headless_host.h"
#include "win32/branded_system.h"

namespace grimsweep::win32 {
namespace {

using namespace settings;

// The clock moved on by whole seconds.
LocalDateTime SecondsLater(LocalDateTime when, int seconds) {
    when.millisecond = 0;
    when.second += seconds;
    when.minute += when.second / 60;
    when.second %= 60;
    when.hour += when.minute / 60;
    when.minute %= 60;
    return when;
}

class GermanLocaleSchedule : public ::testing::Test {
protected:
    void SetUp() override {
        const char* language = std::getenv("GRIMSWEEP_WINE_LANG");
        if (!language || std::string(language).rfind("de_", 0) != 0) {
            GTEST_SKIP() << "runs under German regional settings (CTest entry win32_german_locale)";
        }
        BuildMainWindowControls(form);
        scheduler = std::make_unique<Scheduler>(context, form, autoDelete,
                                                [this] { starts.push_back(system.Now()); });
        machine.registry.DeleteKeyTree(RegistryRoot::CurrentUser, kTestCompanyKey);
    }
    void TearDown() override { machine.registry.DeleteKeyTree(RegistryRoot::CurrentUser, kTestCompanyKey); }

    // A time a few seconds ahead, on the same day.
    LocalDateTime SoonToday() {
        LocalDateTime now = system.Now();
        if (now.hour == 23 && now.minute == 59 && now.second >= 50) {
            system.Sleep(11000);
            now = system.Now();
        }
        return SecondsLater(now, 1);
    }
    void Apply(int day, const LocalDateTime& when) {
        if (form.Get(kScheduledScans).Value() == 0) {
            form.Get(kScheduledScans).Click();
        }
        form.Get("cmbDays").SetListIndex(day);
        form.Get("dtpScheduleTime").SetDateValue(when);
        form.Get("dtpScheduleDate").SetDateValue(when);
        form.Get("CmdProceed").Click();
    }
    // Ticks every 10 ms until 0.3 seconds after the second of `when`.
    void TickPast(const LocalDateTime& when) {
        const LocalDateTime end = SecondsLater(when, 1);
        for (int i = 0; i < 400; ++i) {
            const LocalDateTime now = system.Now();
            if (now.hour == end.hour && now.minute == end.minute && now.second == end.second &&
                now.millisecond >= 300) {
                return;
            }
            scheduler->Tick();
            system.Sleep(10);
        }
    }

    Win32Machine machine;
    BrandedSystem system;
    HeadlessHost host;
    Context context{BrandedView(machine, system), host};
    ui::Form form{host, std::string(kMainWindowName)};
    bool autoDelete = false;
    std::vector<LocalDateTime> starts;
    std::unique_ptr<Scheduler> scheduler;
};

TEST_F(GermanLocaleSchedule, AStoredScheduleReadsBackToTheSecondAndFires) {
    // The regional settings really are German.
    const std::string shown = system.FormatDateTimeForDisplay({2026, 12, 9, 12, 0, 0, 3, 0});
    ASSERT_EQ(shown.rfind("9.12.2026", 0), 0u) << shown;

    // Weekly, on today's weekday (the list starts on Monday).
    const LocalDateTime weekly = SoonToday();
    Apply((weekly.dayOfWeek + 6) % 7, weekly);
    const std::string stored = context.settings.Read(kSectionOptions, kScheduleTime, "");
    EXPECT_EQ(stored, ScheduleText(weekly));
    ASSERT_TRUE(ParseScheduleText(stored).has_value()) << stored;
    EXPECT_EQ(ScheduleText(form.Get("dtpScheduleTime").DateValue()), ScheduleText(weekly))
        << "Load shows the same second";
    TickPast(weekly);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].second, weekly.second);

    // Once, today.
    const LocalDateTime once = SoonToday();
    Apply(kScheduleDateAndTime, once);
    EXPECT_EQ(ScheduleText(form.Get("dtpScheduleDate").DateValue()).substr(0, 10),
              ScheduleText(once).substr(0, 10));
    TickPast(once);
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_EQ(starts[1].second, once.second);
    // Each start follows its second by at most a tick and the time a tick takes.
    for (const LocalDateTime& start : starts) {
        std::printf("scheduled scan started %d ms into its second\n", start.millisecond);
        EXPECT_LT(start.millisecond, 100);
    }
}

} // namespace
} // namespace grimsweep::win32
