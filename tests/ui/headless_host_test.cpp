// The headless host's clock: time only moves forward, also when a timer tick advances it (a scheduled
// scan runs inside a tick).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/form.h"
#include "ui/headless_host.h"

namespace grimsweep {
namespace {

using ui::ControlType;

ui::Control& Timer(ui::Form& form, const char* name, int interval) {
    ui::Control& timer = form.Add(name, ControlType::Timer);
    timer.SetInterval(interval);
    timer.SetEnabled(true);
    return timer;
}

TEST(HeadlessClock, AnAdvanceInsideATickKeepsTimeAndTicksInOrder) {
    HeadlessHost host;
    ui::Form form(host, "frmMain");
    ui::Control& scheduler = Timer(form, "tmrScheduler", 100);
    ui::Control& shield = Timer(form, "tmrCheckHomePage", 230);
    form.Load();
    std::vector<std::string> ticks;
    bool scanning = false;
    scheduler.onTimer = [&] {
        ticks.push_back("s" + std::to_string(host.Milliseconds()));
        if (ticks.size() == 1) {
            scanning = true; // the scan takes a second of the clock, its ticks inside it
            host.Advance(1000);
            scanning = false;
        }
    };
    shield.onTimer = [&] { ticks.push_back("h" + std::to_string(host.Milliseconds())); };

    host.Advance(300);
    EXPECT_EQ(host.Milliseconds(), 1100u) << "the outer advance ends inside what the scan already spent";
    host.Advance(150);
    EXPECT_EQ(host.Milliseconds(), 1250u);
    EXPECT_EQ(ticks, (std::vector<std::string>{"s100", "s200", "h230", "s300", "s400", "h460", "s500", "s600",
                                               "h690", "s700", "s800", "s900", "h920", "s1000", "s1100",
                                               "h1150", "s1200"}));
    EXPECT_FALSE(scanning);
}

} // namespace
} // namespace grimsweep
