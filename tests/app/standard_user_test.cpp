// The main flows for a standard user on the simulated machine: the machine's registry keys, Program Files
// and the Windows folder read-only, no debug privilege, other users' processes out of reach.
#include <gtest/gtest.h>

#include "core/run_at_startup.h"
#include "main_window_fixture.h"
#include "scan/process_stop.h"

namespace grimsweep {
namespace {

using namespace settings;

class StandardUserTest : public MainWindowTest {
protected:
    StandardUserTest() { sim.BecomeStandardUser(); }
};

TEST_F(StandardUserTest, TheFirstStartAsksOnceAndTheNextStartAsksNothing) {
    host->Answer(MessageBoxAnswer::No);
    window->Window().Show();
    ASSERT_EQ(host->Shown().size(), 1u) << "no Permission Denied";
    EXPECT_EQ(host->Shown()[0].title, "Update Now?");

    ReleaseInstanceLock();
    Start();
    window->Window().Show();
    EXPECT_TRUE(host->Shown().empty()) << "neither Permission Denied nor the Live Update question again";
}

TEST_F(StandardUserTest, RunAtStartupGoesIntoTheUsersOwnRunKeyAndTheBoxStaysTicked) {
    Open();
    ui::Control& box = Control(kRunAtStartup);
    if (box.Value() == 1) {
        box.Click();
    }
    box.Click();
    EXPECT_EQ(box.Value(), 1);
    const std::string runKey(kRunKeyPath);
    EXPECT_FALSE(sim.registry.Value(RegistryRoot::LocalMachine, runKey, "grimsweep").has_value());
    EXPECT_TRUE(sim.registry.Value(RegistryRoot::CurrentUser, runKey, "grimsweep").has_value());
    box.Click();
    EXPECT_FALSE(sim.registry.Value(RegistryRoot::CurrentUser, runKey, "grimsweep").has_value());
}

TEST_F(StandardUserTest, AThreatOfTheUsersOwnIsStoppedAndAnotherUsersIsLeftAsFailed) {
    const std::string own = "C:\\Documents and Settings\\User\\Application Data\\Gloom\\gloomupd.exe";
    const std::string service = "C:\\Program Files\\Gloom\\gloomsvc.exe";
    const std::uint32_t ownId = sim.processes.Start(own);
    const std::uint32_t serviceId = sim.processes.Start(service);
    sim.processes.Find(serviceId)->otherUsers = true;
    EXPECT_EQ(StopRunningThreat(sim.View(), ownId, own), ThreatStop::Stopped);
    EXPECT_EQ(StopRunningThreat(sim.View(), serviceId, service), ThreatStop::Failed);
    EXPECT_TRUE(sim.processes.IsRunning("gloomsvc.exe"));
}

} // namespace
} // namespace grimsweep
