// The process scan on the simulated machine: which running programs it reports, how it stops them during
// a user scan, and what it hands to the memory alert outside one.
#include "scan/process_scan.h"

#include <gtest/gtest.h>

#include "core/path_macros.h"

#include "definitions/definition_files.h"
#include "scan/scan_fixture.h"
#include "ui/list_icons.h"

namespace grimsweep {
namespace {

using namespace std::string_literals;

const std::string kFooFolder = "C:\\Program Files\\Foo";
const std::string kSystemFolder = "C:\\WINDOWS\\system32";

class ProcessScanTest : public ScanStageTest {
protected:
    // A program file with a plain version resource naming the company, started.
    std::uint32_t Run(const std::string& path, const std::string& company = "Foo Adware Inc.") {
        sim.files.PutFile(path, "MZStringFileInfo\0CompanyName\0"s + company + "\0\0\0FileDescription\0"s);
        return sim.processes.Start(path);
    }
    // An executable definition for the program `name` in `folder`.
    static std::string Definition(const std::string& name, const std::string& folder) {
        return name + "=Foo Adware|" + folder;
    }
    const ui::ListRows& Rows() const { return lists.Found().Rows(); }
};

TEST_F(ProcessScanTest, OnlyTheProgramInTheListedFolderIsStoppedAndListed) {
    PutDefinitions(kExeDefinitionFile, {Definition("svchost.exe", kFooFolder), "no record here",
                                        Definition("spy.exe", kSystemFolder)});
    const auto real = Run(kSystemFolder + "\\svchost.exe", "Lanternfish Software");
    const auto fake = Run(kFooFolder + "\\svchost.exe");
    const auto other = Run("C:\\Elsewhere\\spy.exe");
    const auto aliased = Run("\\SystemRoot\\System32\\spy.exe");
    sim.files.PutFile(kSystemFolder + "\\spy.exe", "MZ");

    const ProcessScanOutcome outcome = ScanProcesses(run);
    EXPECT_EQ(outcome.runningCount, 4);
    EXPECT_EQ(outcome.threatsReported, 2);
    EXPECT_EQ(state.counters.threatsFound, 2);
    EXPECT_EQ(state.counters.cookiesAndProcesses, 3 + 4);
    EXPECT_EQ(sim.processes.terminated, (std::vector<std::uint32_t>{fake, aliased}));
    EXPECT_NE(sim.processes.Find(real), nullptr);
    EXPECT_NE(sim.processes.Find(other), nullptr);
    EXPECT_EQ(Texts(lists.Found()),
              (std::vector<std::string>{"Detected in the memory : SVCHOST.EXE was stopped from running.",
                                        "Detected in the memory : SPY.EXE was stopped from running."}));
    EXPECT_EQ(Rows()[0].smallIcon, ui::kIconFile);
    EXPECT_EQ(lists.Removal().Rows().size(), 0u);
}

// 32-bit copies of listed programs on 64-bit Windows: in the 32-bit Program Files folder, and in
// SysWOW64 however the system spells that folder.
TEST_F(ProcessScanTest, ThirtyTwoBitProgramsOfListedDefinitionsAreStopped) {
    sim.shell.folders[41] = "C:\\WINDOWS\\SysWOW64";
    sim.shell.folders[42] = "C:\\Program Files (x86)";
    macros = PathMacroTable::Capture(sim.shell);
    PutDefinitions(kExeDefinitionFile,
                   {Definition("foo32.exe", "[progfil]\\Foo"), Definition("hook32.exe", "[system]")});
    const auto foo = Run("C:\\Program Files (x86)\\Foo\\foo32.exe");
    sim.files.PutFile("C:\\WINDOWS\\SysWOW64\\hook32.exe",
                      "MZStringFileInfo\0CompanyName\0Foo\0\0\0FileDescription\0"s);
    const auto hook = sim.processes.Start("\\SystemRoot\\SysWOW64\\hook32.exe");
    EXPECT_EQ(ScanProcesses(run).threatsReported, 2);
    EXPECT_EQ(sim.processes.terminated, (std::vector<std::uint32_t>{foo, hook}));
}

TEST_F(ProcessScanTest, MicrosoftProgramsOurHelperAndExcludedNamesAreNotStopped) {
    PutDefinitions(kExeDefinitionFile,
                   {Definition("ms.exe", kFooFolder), Definition("ADWAREPROCESSHELPER.exe", kFooFolder),
                    Definition("kept.exe", kFooFolder)});
    Run(kFooFolder + "\\ms.exe", "  microsoft CORPORATION ");
    Run(kFooFolder + "\\AdwareProcessHelper.EXE");
    Run(kFooFolder + "\\kept.exe");
    definitions.exclusions.Assign("KEPT.EXE|");

    EXPECT_EQ(ScanProcesses(run).threatsReported, 0);
    EXPECT_TRUE(sim.processes.terminated.empty());
    EXPECT_EQ(Texts(lists.Found()), std::vector<std::string>{"EXCLUDED: KEPT.EXE"});
    EXPECT_EQ(Rows()[0].smallIcon, ui::kIconExcluded);
    EXPECT_EQ(state.counters.threatsFound, 0);
}

TEST_F(ProcessScanTest, AProgramThatCannotBeStoppedIsListedAsStillRunning) {
    PutDefinitions(kExeDefinitionFile, {Definition("stubborn.exe", kFooFolder)});
    const auto stubborn = Run(kFooFolder + "\\stubborn.exe");
    sim.processes.Find(stubborn)->refusesToStop = true;

    EXPECT_EQ(ScanProcesses(run).threatsReported, 1);
    EXPECT_EQ(sim.processes.Find(stubborn)->terminateAttempts, 11);
    EXPECT_EQ(Texts(lists.Found()),
              std::vector<std::string>{
                  "Detected in the memory : STUBBORN.EXE could not be stopped and is still running."});
    EXPECT_EQ(state.counters.threatsFound, 1);
}

TEST_F(ProcessScanTest, OutsideAUserScanTheAlertGetsTheProgramAndNothingIsStopped) {
    PutDefinitions(kExeDefinitionFile, {Definition("spy.exe", kFooFolder)});
    const auto spy = Run(kFooFolder + "\\spy.exe");
    feedback.userScan = false;
    state.stopRequested = true; // left over from a cancelled scan
    std::vector<RunningThreat> alerts;
    run.onRunningThreatOutsideScan = [&](const RunningThreat& threat) { alerts.push_back(threat); };

    EXPECT_EQ(ScanProcesses(run).threatsReported, 1);
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0].processId, spy);
    EXPECT_EQ(alerts[0].imagePath, "C:\\PROGRAM FILES\\FOO\\SPY.EXE");
    EXPECT_EQ(alerts[0].name, "SPY.EXE");
    EXPECT_EQ(alerts[0].companyName, "Foo Adware Inc.");
    EXPECT_TRUE(sim.processes.terminated.empty());
    EXPECT_TRUE(lists.Found().Rows().empty());
    EXPECT_TRUE(feedback.statuses.empty()); // no progress outside a user scan
    EXPECT_EQ(state.counters.threatsFound, 1);
}

TEST_F(ProcessScanTest, StopDuringTheUserScanEndsItBeforeAnyProcess) {
    PutDefinitions(kExeDefinitionFile, {Definition("a.exe", kFooFolder), Definition("spy.exe", kFooFolder)});
    Run(kFooFolder + "\\spy.exe");
    Run(kFooFolder + "\\other.exe");
    feedback.onPump = [&] { state.stopRequested = true; }; // Stop pressed while the first line is read

    EXPECT_EQ(ScanProcesses(run).runningCount, 2);
    EXPECT_EQ(state.counters.cookiesAndProcesses, 1 + 1);
    EXPECT_TRUE(sim.processes.terminated.empty());
    EXPECT_TRUE(lists.Found().Rows().empty());
}

TEST_F(ProcessScanTest, ProgressShowsTheLastDefinitionNameAndBothShares) {
    PutDefinitions(kExeDefinitionFile, {Definition("a.exe", kFooFolder), Definition("b.exe", kFooFolder)});
    definitions.counts.executables = 2;
    definitions.counts.cookies = 6;
    definitions.counts.total = 20;
    state.stagePrefix = "Inspecting memory: ";
    Run("C:\\Tools\\tool.exe");

    ScanProcesses(run);
    ASSERT_EQ(feedback.statuses.size(), 3u);
    EXPECT_EQ(feedback.statuses.back(), "Inspecting memory: \r\nb.exe");
    EXPECT_DOUBLE_EQ(feedback.stagePercents[1], 100.0);
    EXPECT_DOUBLE_EQ(feedback.overallPercents[2], 45.0);
}

TEST_F(ProcessScanTest, WithoutDefinitionsOrAProcessListNothingIsReported) {
    Run(kFooFolder + "\\spy.exe");
    Run(kFooFolder + "\\other.exe");
    EXPECT_EQ(ScanProcesses(run).runningCount, 2); // no ExeDefinition.dat: still counted
    EXPECT_EQ(state.counters.cookiesAndProcesses, 2);

    PutDefinitions(kExeDefinitionFile, {Definition("spy.exe", kFooFolder)});
    sim.processes.SetEnumerationFails(true);
    EXPECT_EQ(ScanProcesses(run).runningCount, -1);
    EXPECT_EQ(state.counters.cookiesAndProcesses, 2 + 1);
    EXPECT_TRUE(sim.processes.terminated.empty());
    EXPECT_TRUE(lists.Found().Rows().empty());
}

TEST_F(ProcessScanTest, TheCheckRunsByPlatform) {
    PutDefinitions(kExeDefinitionFile, {Definition("spy.exe", kFooFolder)});
    Run(kFooFolder + "\\spy.exe");
    sim.system.osVersion.platformId = 3;
    EXPECT_FALSE(RunProcessCheck(run).has_value());
    EXPECT_TRUE(sim.processes.terminated.empty());
    // The 95/98/Me check compares names: it stops the program wherever it runs from.
    sim.system.osVersion.platformId = kPlatformWin9x;
    Run("C:\\Elsewhere\\spy.exe");
    EXPECT_EQ(RunProcessCheck(run)->threatsReported, 2);
    EXPECT_EQ(sim.processes.terminated.size(), 2u);
    EXPECT_EQ(Texts(lists.Found()).front(),
              "Detected in the memory : SPY.EXE and was stopped being from ruuning.");
    sim.system.osVersion.platformId = kPlatformNt;
    Run(kFooFolder + "\\spy.exe");
    EXPECT_EQ(RunProcessCheck(run)->threatsReported, 1);
    EXPECT_EQ(sim.processes.terminated.size(), 3u);
}

} // namespace
} // namespace grimsweep
