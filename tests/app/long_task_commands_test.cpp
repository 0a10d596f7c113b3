// While a scan, a removal or an update holds the program busy, no command that starts another long task
// can be pressed, and a start that reaches the guard anyway (a timer, a shortcut) does nothing.
#include <gtest/gtest.h>

#include "main_window_fixture.h"

namespace grimsweep {
namespace {

class LongTaskCommandsTest : public MainWindowTest {
protected:
    LongTaskCommandsTest() { Open(); }
};

TEST_F(LongTaskCommandsTest, EveryLongTaskCommandIsOffWhileBusyAndTheUpdateGuardHoldsOnItsOwn) {
    const char* commands[] = {"cmdScanNow",    "cmdUpdate", "cmdLiveUpdate",
                              "mnuFileUpdate", "Command4",  "cmdExclude"};
    for (const BusyTask task : {BusyTask::Scan, BusyTask::Removal}) {
        ASSERT_TRUE(window->Busy().Begin(task));
        for (const char* name : commands) {
            EXPECT_FALSE(Control(name).Enabled()) << name;
        }
        const std::size_t requests = sim.http.requests.size();
        EXPECT_EQ(window->Update().RunLiveUpdate(), 0);
        EXPECT_EQ(sim.http.requests.size(), requests) << "no update started while busy";
        EXPECT_EQ(window->Busy().Current(), task) << "the task that holds the program still holds it";
        window->Busy().End();
        for (const char* name : commands) {
            EXPECT_TRUE(Control(name).Enabled()) << name;
        }
    }
}

} // namespace
} // namespace grimsweep
