#include "platform/sim/sim_system.h"

#include <gtest/gtest.h>

#include "ui/form.h"
#include "ui/headless_host.h"

namespace grimsweep::sim {
namespace {

TEST(SimSystem, WallClockFollowsTheHostClockWithMillisecondsAndTheDatesWeekday) {
    HeadlessHost host;
    SimSystem system;
    EXPECT_EQ(system.Now(), (LocalDateTime{2006, 3, 16, 0, 0, 0, 4, 0})); // a Thursday
    system.SetNow({2024, 2, 28, 23, 59, 59, 0, 500});                     // weekday left wrong on purpose
    EXPECT_EQ(system.Now().dayOfWeek, 3);                                 // a Wednesday
    host.Advance(5000);
    EXPECT_EQ(system.Now().second, 59); // standing still until it follows a source

    system.FollowClock([&] { return host.Milliseconds(); });
    host.Advance(750);
    EXPECT_EQ(system.Now(), (LocalDateTime{2024, 2, 29, 0, 0, 0, 4, 250})); // leap day, a Thursday
    host.Advance(86'400'000LL * 366);
    EXPECT_EQ(system.Now(), (LocalDateTime{2025, 3, 1, 0, 0, 0, 6, 250}));
}

TEST(SimSystem, AClockJumpFiresNoTimer) {
    HeadlessHost host;
    ui::Form form(host, "frmTest");
    ui::Control& timer = form.Add("tmrScheduler", ui::ControlType::Timer);
    timer.SetInterval(1000);
    timer.SetEnabled(true);
    int ticks = 0;
    timer.onTimer = [&] { ++ticks; };
    form.Load();

    SimSystem system;
    system.FollowClock([&] { return host.Milliseconds(); });
    system.SetNow({2026, 12, 31, 23, 0, 0}); // the user sets the clock a year on
    EXPECT_EQ(ticks, 0);
    EXPECT_EQ(system.Now().year, 2026);
    host.Advance(3'600'500);
    EXPECT_EQ(ticks, 3600);
    EXPECT_EQ(system.Now(), (LocalDateTime{2027, 1, 1, 0, 0, 0, 5, 500}));
    system.SetNow({1999, 12, 31, 12, 0, 0}); // and back
    host.Advance(500);
    EXPECT_EQ(system.Now(), (LocalDateTime{1999, 12, 31, 12, 0, 0, 5, 500}));
}

} // namespace
} // namespace grimsweep::sim
