#include "platform/sim/sim_processes.h"

#include <gtest/gtest.h>

namespace grimsweep::sim {
namespace {

TEST(SimProcesses, AProcessOnItsWayOutEndsDuringTheWaitAfterAFailedStop) {
    SimProcesses processes;
    const auto id = processes.Start("C:\\Evil\\evil.exe");
    processes.Find(id)->endsDuringWait = true;
    EXPECT_FALSE(processes.WaitForExit(id, 100)); // not before it is asked to stop
    EXPECT_FALSE(processes.Terminate(id, 0, true));
    EXPECT_TRUE(processes.WaitForExit(id, 100));
    EXPECT_FALSE(processes.IsRunning("EVIL.EXE"));
    EXPECT_TRUE(processes.terminated.empty());
    EXPECT_EQ(processes.endedByThemselves, std::vector<std::uint32_t>{id});
}

TEST(SimProcesses, AProcessStopsOnTheAttemptItIsSetTo) {
    SimProcesses processes;
    const auto id = processes.Start("C:\\Evil\\\xC3\x9C"
                                    "BEL.exe"); // ÜBEL.exe
    processes.Find(id)->stopsOnAttempt = 3;
    EXPECT_FALSE(processes.Terminate(id, 0, false));
    EXPECT_FALSE(processes.WaitForExit(id, 100));
    EXPECT_FALSE(processes.Terminate(id, 0, false));
    EXPECT_TRUE(processes.IsRunning("\xC3\xBC"
                                    "bel.EXE"));
    EXPECT_TRUE(processes.Terminate(id, 0, false));
    EXPECT_EQ(processes.terminated, std::vector<std::uint32_t>{id});
    EXPECT_FALSE(processes.Terminate(id, 0, false)); // gone
}

} // namespace
} // namespace grimsweep::sim
