// Listing processes and stopping them by name or by the process a scan found, on the simulated machine.
#include "scan/process_stop.h"

#include <gtest/gtest.h>

#include "../definitions/definitions_fixture.h"
#include "common/text.h"
#include "scan/process_list.h"

namespace grimsweep {
namespace {

class ProcessStopTest : public DefinitionsTest {
protected:
    sim::SimProcesses& processes = sim.processes;
};

TEST_F(ProcessStopTest, ListingNamesEveryProcessThatHasOne) {
    std::vector<std::uint32_t> started;
    for (int i = 0; i < 130; ++i) {
        started.push_back(processes.Start("C:\\Tools\\tool" + std::to_string(i) + ".exe"));
    }
    processes.Find(started[3])->cannotOpen = true;
    processes.Find(started[4])->noModules = true;
    processes.Find(started[5])->nameUnreadable = true;
    std::vector<std::string> names{"stale"};
    std::vector<std::uint32_t> ids{1};
    ASSERT_EQ(ListProcesses(processes, names, ids, {}, true), 128);
    EXPECT_EQ(names[3], "unknown");
    EXPECT_EQ(ids[3], started[5]);
    EXPECT_EQ(names.back(), "tool129.exe");

    // The filter is case-sensitive and applies to the snapshot's names as well.
    EXPECT_EQ(ListProcesses(processes, names, ids, "tool12", true), 11);
    EXPECT_EQ(ListProcesses(processes, names, ids, "TOOL12", false), 0);
    EXPECT_EQ(ListProcesses(processes, names, ids, "tool12", false), 11);

    processes.SetEnumerationFails(true);
    EXPECT_EQ(ListProcesses(processes, names, ids, {}, true), -1);
    EXPECT_TRUE(names.empty());
    EXPECT_TRUE(ids.empty());
}

TEST_F(ProcessStopTest, BaseNamesOfTheSystemsOwnProcesses) {
    EXPECT_EQ(ProcessBaseName(processes, 0), "System Idle Process");
    EXPECT_EQ(ProcessBaseName(processes, 2), "System");
    EXPECT_EQ(ProcessBaseName(processes, 4), ""); // no such process
}

TEST_F(ProcessStopTest, NamesMatchThroughTheirComparableAndShortForms) {
    EXPECT_EQ(ComparableProcessName("averyverylongname.exe"), "averyverylongna");
    EXPECT_EQ(ComparableProcessName("spy.helper.exe"), "spy");
    EXPECT_EQ(ShortProcessName("averyverylongname.exe"), "AVERYV~1");
    EXPECT_EQ(ShortProcessName("spy.EXE"), "SPY~1");

    const auto longName = processes.Start("C:\\A\\averyverylongnameX.exe");
    const auto shortName = processes.Start("C:\\B\\AVERYV~1.EXE");
    EXPECT_TRUE(StopProcessByName(context, "averyverylongname.exe"));
    EXPECT_EQ(processes.terminated, std::vector<std::uint32_t>{longName}); // the first match only
    EXPECT_TRUE(StopProcessByName(context, "averyverylongname.exe"));
    EXPECT_EQ(processes.terminated.back(), shortName);
    EXPECT_TRUE(StopProcessByName(context, "averyverylongname.exe")); // nothing left to stop
    EXPECT_EQ(processes.terminated.size(), 2u);

    const auto dotted = processes.Start("C:\\C\\Spy.dat.exe");
    EXPECT_TRUE(StopProcessByName(context, " spy "));
    EXPECT_EQ(processes.terminated.back(), dotted);
}

TEST_F(ProcessStopTest, StoppingByNameTriesElevenTimes) {
    const auto stubborn = processes.Start("C:\\Spy\\stubborn.exe");
    processes.Find(stubborn)->refusesToStop = true;
    EXPECT_FALSE(StopProcessByName(context, "stubborn.exe"));
    EXPECT_EQ(processes.Find(stubborn)->terminateAttempts, 11);

    const auto late = processes.Start("C:\\Spy\\late.exe");
    processes.Find(late)->stopsOnAttempt = 11;
    EXPECT_TRUE(StopProcessByName(context, "late.exe"));

    const auto leaving = processes.Start("C:\\Spy\\leaving.exe");
    processes.Find(leaving)->endsDuringWait = true;
    EXPECT_TRUE(StopProcessByName(context, "leaving.exe"));
    EXPECT_EQ(processes.endedByThemselves, std::vector<std::uint32_t>{leaving});

    // The privilege is asked for on the NT family only.
    EXPECT_TRUE(processes.privilegeRequests.back());
    sim.system.osVersion.platformId = kPlatformWin9x;
    processes.Start("C:\\Spy\\old.exe");
    EXPECT_TRUE(StopProcessByName(context, "old.exe"));
    EXPECT_FALSE(processes.privilegeRequests.back());
}

TEST_F(ProcessStopTest, AThreatIsStoppedOnlyWhileItsIdentifierRunsThatImage) {
    const std::string image = "C:\\Program Files\\Foo\\svchost.exe";
    sim.files.PutFile(image, "MZ");
    const auto real = processes.Start("C:\\WINDOWS\\system32\\svchost.exe");
    EXPECT_EQ(StopRunningThreat(context.machine, real, image), ThreatStop::OtherProgram);
    EXPECT_TRUE(processes.terminated.empty());

    // The system-root alias and the short form of a folder are the same image.
    sim.files.PutFile("C:\\WINDOWS\\system32\\spy.exe", "MZ");
    const auto aliased = processes.Start("\\SystemRoot\\System32\\spy.exe");
    EXPECT_EQ(StopRunningThreat(context.machine, aliased, "C:\\WINDOWS\\SYSTEM32\\SPY.EXE"),
              ThreatStop::Stopped);
    sim.files.AddShortName("C:\\Program Files", "PROGRA~1");
    const auto shortForm = processes.Start("C:\\PROGRA~1\\Foo\\svchost.exe");
    processes.Find(shortForm)->stopsOnAttempt = 3;
    EXPECT_EQ(StopRunningThreat(context.machine, shortForm, ToUpper(image)), ThreatStop::Stopped);
    EXPECT_EQ(processes.terminated, (std::vector<std::uint32_t>{aliased, shortForm}));

    EXPECT_EQ(StopRunningThreat(context.machine, shortForm, image), ThreatStop::Ended);
    const auto stubborn = processes.Start(image);
    processes.Find(stubborn)->refusesToStop = true;
    EXPECT_EQ(StopRunningThreat(context.machine, stubborn, image), ThreatStop::Failed);
    EXPECT_EQ(processes.Find(stubborn)->terminateAttempts, 11);
    // A process that cannot be checked is not terminated.
    const auto hidden = processes.Start(image);
    processes.Find(hidden)->cannotOpen = true;
    EXPECT_EQ(StopRunningThreat(context.machine, hidden, image), ThreatStop::Failed);
    EXPECT_EQ(processes.Find(hidden)->terminateAttempts, 0);
}

TEST_F(ProcessStopTest, AnIdentifierThatPassedToAnotherProgramIsNotTerminated) {
    const std::string image = "C:\\Spy\\spy.exe";
    const std::string other = "C:\\WINDOWS\\notepad.exe";
    // The scan looked at the threat, then its identifier passed to another program.
    const auto found = processes.Start(image);
    processes.Find(found)->reusedAfterLook = other;
    ASSERT_EQ(processes.QueryMainModule(found).fullPath, image);
    EXPECT_EQ(StopRunningThreat(context.machine, found, image), ThreatStop::OtherProgram);
    // The listing by name looks at every process; a spy.exe whose identifier then passed on is left alone.
    const auto named = processes.Start(image);
    processes.Find(named)->reusedAfterLook = other;
    EXPECT_TRUE(StopProcessByName(context, "spy.exe"));
    EXPECT_TRUE(processes.terminated.empty());
    for (const auto id : {found, named}) {
        ASSERT_NE(processes.Find(id), nullptr);
        EXPECT_EQ(processes.Find(id)->fullPath, other);
    }

    // A stop that looked and then opened the process anew would meet the other program.
    const auto racing = processes.Start(image);
    processes.Find(racing)->reusedAfterLook = other;
    EXPECT_EQ(StopRunningThreat(context.machine, racing, image), ThreatStop::Stopped);
    EXPECT_EQ(processes.terminatedImages, std::vector<std::string>{image});
}

} // namespace
} // namespace grimsweep
