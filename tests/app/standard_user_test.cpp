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

// The installer's Run value for every user shows as a ticked box; unticking it asks once to go on as
// administrator, and a box left ticked when that is declined says why.
class MachineRunValueTest : public StandardUserTest {
protected:
    MachineRunValueTest() {
        sim.registry.AllowAccess(RegistryRoot::LocalMachine, "SOFTWARE");
        sim.registry.PutString(RegistryRoot::LocalMachine, runKey, "grimsweep", "\"C:\\P\\grimsweep\"");
        sim.BecomeStandardUser();
        Open();
    }
    // Unticks the box, answering the question; true when the value is gone.
    bool Untick(MessageBoxAnswer answer) {
        EXPECT_EQ(Control(kRunAtStartup).Value(), 1) << "the installer's choice shows";
        shownBefore = host->Shown().size();
        host->Answer(answer);
        Control(kRunAtStartup).Click();
        EXPECT_EQ(host->Shown().at(shownBefore).text, context->messages.getMessages("MSG_ADMIN_RUN"));
        return !sim.registry.Value(RegistryRoot::LocalMachine, runKey, "grimsweep").has_value();
    }
    const std::string runKey{kRunKeyPath};
    std::size_t shownBefore = 0;
};

TEST_F(MachineRunValueTest, DeclinedItStaysTickedAndSaysWhy) {
    EXPECT_FALSE(Untick(MessageBoxAnswer::No));
    EXPECT_TRUE(sim.shell.elevatedRuns.empty());
    EXPECT_EQ(Control(kRunAtStartup).Value(), 1);
    EXPECT_EQ(Setting(kSectionOptions, kRunAtStartup), "1");
    ASSERT_EQ(host->Shown().size(), shownBefore + 2);
    EXPECT_EQ(host->Shown().back().text, context->messages.getMessages("MSG_ADMIN_RUN_STAYS"));
}

TEST_F(MachineRunValueTest, AsAdministratorItGoes) {
    sim.shell.administrator = [&](const std::string& program, const std::string& parameters) {
        EXPECT_EQ(parameters, "run-at-logon off");
        EXPECT_TRUE(program.ends_with("\\gscan.exe")) << program;
        sim.registry.AllowAccess(RegistryRoot::LocalMachine, "SOFTWARE");
        RemoveRunAtStartup(sim.registry, "C:\\P\\grimsweep.exe");
        sim.BecomeStandardUser();
        return ElevatedRun{ElevatedRunStatus::Finished, 0};
    };
    EXPECT_TRUE(Untick(MessageBoxAnswer::Yes));
    EXPECT_EQ(Control(kRunAtStartup).Value(), 0);
    EXPECT_EQ(host->Shown().size(), shownBefore + 1) << "nothing more to say";
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
