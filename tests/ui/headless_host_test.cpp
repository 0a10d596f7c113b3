// The headless host's clock and its wait for the next message: time only moves forward, also when a
// timer tick advances it (a scheduled scan runs inside a tick), and a modal wait moves it to the next
// tick so that tests stay deterministic.
#include <gtest/gtest.h>

#include <stdexcept>
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

TEST(HeadlessClock, WaitingForTheNextMessageMovesToTheNextTickAndGivesUpOnQuit) {
    HeadlessHost host;
    ui::Form form(host, "frmAlert");
    ui::Control& blink = Timer(form, "tmrBlink", 500);
    form.Load();
    int blinks = 0;
    blink.onTimer = [&] { ++blinks; };
    while (blinks < 3 && host.WaitForMessage()) {
    }
    EXPECT_EQ(host.Milliseconds(), 1500u);
    EXPECT_EQ(host.waits, 3);
    EXPECT_EQ(host.pumps, 3);

    // With no timer, the pump hook is what can answer; the clock stands.
    blink.SetEnabled(false);
    bool answered = false;
    host.onPump = [&] { answered = true; };
    EXPECT_TRUE(host.WaitForMessage());
    EXPECT_TRUE(answered);
    EXPECT_EQ(host.Milliseconds(), 1500u);

    // Nothing that could end the wait: an error, not a hang.
    host.onPump = nullptr;
    EXPECT_THROW(host.WaitForMessage(), std::logic_error);

    // A quit arriving during the wait ends it, and later waits return at once.
    host.onPump = [&] { host.Quit(); };
    EXPECT_FALSE(host.WaitForMessage());
    EXPECT_TRUE(host.QuitPending());
    const int pumps = host.pumps;
    EXPECT_FALSE(host.WaitForMessage());
    EXPECT_EQ(host.pumps, pumps);
}

} // namespace
} // namespace grimsweep
