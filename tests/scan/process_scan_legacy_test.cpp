// The process check of the 95/98/Me family on the simulated machine: name matching against the kept
// definitions, the Yes/No question outside a user scan, and stopping only the process it asked about.
#include <gtest/gtest.h>

#include "definitions/definition_files.h"
#include "definitions/exclusion_list.h"
#include "scan/process_scan.h"
#include "scan/scan_fixture.h"
#include "ui/list_icons.h"

namespace grimsweep {
namespace {

using namespace std::string_literals;

class LegacyProcessCheckTest : public ScanStageTest {
protected:
    LegacyProcessCheckTest() {
        sim.system.osVersion.platformId = kPlatformWin9x;
        sim.processes.snapshotFullPaths = true;
        feedback.userScan = false;
    }
    std::uint32_t Run(const std::string& path, const std::string& company = "Foo Adware Inc.") {
        sim.files.PutFile(path, "MZStringFileInfo\0CompanyName\0"s + company + "\0\0\0FileDescription\0"s);
        return sim.processes.Start(path);
    }
    std::string Exclusions() const { return sim.files.Contents(context.DataFile(kExclusionFile)); }
};

TEST_F(LegacyProcessCheckTest, TheNameFieldMatchesWhereverTheProgramRunsAndTheQuestionDecides) {
    PutDefinitions(kExeDefinitionFile, {"spy.exe=Foo Adware|C:\\Program Files\\Foo",
                                        // Only as threat or folder text: never a match.
                                        "other.exe=decoy.exe|C:\\decoy.exe", "noequals.exe"});
    const auto spy = Run("C:\\Anywhere\\SPY.EXE");
    const auto decoy = Run("C:\\Apps\\decoy.exe");
    const auto noEquals = Run("C:\\Apps\\noequals.exe");

    host.Answer(MessageBoxAnswer::Yes);
    const ProcessScanOutcome first = ScanProcessesLegacy(run);
    EXPECT_EQ(first.runningCount, 3);
    EXPECT_EQ(first.threatsReported, 1);
    EXPECT_EQ(state.counters.threatsFound, 1);
    EXPECT_EQ(sim.processes.terminated, (std::vector<std::uint32_t>{spy}));
    EXPECT_NE(sim.processes.Find(decoy), nullptr);
    EXPECT_NE(sim.processes.Find(noEquals), nullptr);
    ASSERT_EQ(host.Shown().size(), 1u);
    const MessageBoxRequest& question = host.Shown()[0];
    EXPECT_EQ(question.title, context.brand.programName + "  - Alert");
    EXPECT_EQ(question.buttons, MessageBoxButtons::YesNo);
    EXPECT_EQ(question.icon, MessageBoxIcon::Question);
    EXPECT_EQ(question.text, context.messages.getMessages("MSG_FOUND1") + "SPY.EXE" +
                                 context.messages.getMessages("MSG_FOUND2") + "SPY.EXE" +
                                 context.messages.getMessages("MSG_FOUND3"));
    EXPECT_TRUE(lists.Found().Rows().empty());

    // No leaves it running and excludes it at once: the next check lists it as excluded, asking nothing.
    Run("C:\\Anywhere\\spy.exe");
    host.Answer(MessageBoxAnswer::No);
    EXPECT_EQ(ScanProcessesLegacy(run).threatsReported, 0);
    EXPECT_EQ(Exclusions(), "SPY.EXE\r\n");
    EXPECT_EQ(host.Shown().size(), 2u);
    EXPECT_EQ(ScanProcessesLegacy(run).runningCount, 3);
    EXPECT_EQ(host.Shown().size(), 2u);
    EXPECT_EQ(Texts(lists.Found()), (std::vector<std::string>{"EXCLUDED: SPY.EXE"}));
    EXPECT_EQ(lists.Found().Rows()[0].smallIcon, ui::kIconExcluded);
    EXPECT_EQ(sim.processes.terminated.size(), 1u);
}

TEST_F(LegacyProcessCheckTest, DuringAUserScanTheProgramIsStoppedAndListedWithoutAQuestion) {
    PutDefinitions(kExeDefinitionFile, {"spy.exe=Foo Adware|C:\\Foo", "ms.exe=Foo|C:\\Foo",
                                        "AdwareProcessHelper.exe=Ours|C:\\Foo"});
    feedback.userScan = true;
    const auto spy = Run("C:\\Foo\\spy.exe");
    Run("C:\\Foo\\ms.exe", "  MICROSOFT corporation ");
    Run("C:\\Foo\\adwareprocesshelper.exe");
    const ProcessScanOutcome outcome = ScanProcessesLegacy(run);
    EXPECT_EQ(outcome.threatsReported, 1);
    EXPECT_EQ(sim.processes.terminated, (std::vector<std::uint32_t>{spy}));
    EXPECT_TRUE(host.Shown().empty());
    EXPECT_EQ(
        Texts(lists.Found()),
        (std::vector<std::string>{"Detected in the memory : SPY.EXE and was stopped being from ruuning."}));
    EXPECT_EQ(lists.Found().Rows()[0].smallIcon, ui::kIconFile);
    // Three definition lines read and reported as progress.
    EXPECT_EQ(state.counters.cookiesAndProcesses, 3);
    EXPECT_EQ(feedback.statuses.size(), 3u);
}

TEST_F(LegacyProcessCheckTest, DefinitionsAreReadOnceAndKeptAndAMissingFileEndsTheCheck) {
    Run("C:\\Foo\\spy.exe");
    // No file: nothing is looked at.
    EXPECT_EQ(ScanProcessesLegacy(run).runningCount, 0);
    EXPECT_TRUE(host.Shown().empty());

    PutDefinitions(kExeDefinitionFile, {"spy.exe=Foo Adware|C:\\Foo", "two.exe=Two|C:\\Foo"});
    host.Answer(MessageBoxAnswer::No);
    ScanProcessesLegacy(run);
    EXPECT_EQ(state.counters.cookiesAndProcesses, 2);
    EXPECT_EQ(host.Shown().size(), 1u);
    // The file goes; the kept lines still count and still match.
    sim.files.DeleteFile(context.DataFile(kExeDefinitionFile));
    Run("C:\\Foo\\two.exe");
    host.Answer(MessageBoxAnswer::Yes);
    EXPECT_EQ(ScanProcessesLegacy(run).threatsReported, 1);
    EXPECT_EQ(state.counters.cookiesAndProcesses, 4);
    EXPECT_EQ(state.legacyExecutables.lines.size(), 2u);
}

TEST_F(LegacyProcessCheckTest, AStopDuringTheReadLeavesNothingKeptAndAReusedIdentifierIsNotStopped) {
    PutDefinitions(kExeDefinitionFile, {"spy.exe=Foo Adware|C:\\Foo", "two.exe=Two|C:\\Foo"});
    feedback.userScan = true;
    feedback.onPump = [&] { state.stopRequested = true; };
    ScanProcessesLegacy(run);
    EXPECT_TRUE(state.legacyExecutables.Empty());
    feedback.onPump = nullptr;
    state.stopRequested = false;

    // While the question waits, the program ends and its identifier goes to another program.
    feedback.userScan = false;
    const auto spy = Run("C:\\Foo\\spy.exe");
    host.Answer(MessageBoxAnswer::Yes);
    host.onMessageBox = [&](const MessageBoxRequest&) {
        sim.processes.running.clear();
        sim.processes.running.push_back({spy, "C:\\Windows\\notepad.exe"});
    };
    ScanProcessesLegacy(run);
    EXPECT_EQ(host.Shown().size(), 1u);
    EXPECT_TRUE(sim.processes.terminated.empty());
    EXPECT_NE(sim.processes.Find(spy), nullptr);
}

TEST_F(LegacyProcessCheckTest, TheNameEndsAtANulAndTheRunningCountStartsAfreshOnEachCheck) {
    PutDefinitions(kExeDefinitionFile, {"spy.exe=Foo Adware|C:\\Foo"});
    sim.processes.snapshotFullPaths = false;
    sim.processes.Start("C:\\Foo\\spy.exe\0garbage"s);
    sim.processes.Start("C:\\Foo\\calc.exe");
    host.Answer(MessageBoxAnswer::No);
    EXPECT_EQ(ScanProcessesLegacy(run).runningCount, 2);
    EXPECT_EQ(host.Shown().size(), 1u);
    EXPECT_EQ(ScanProcessesLegacy(run).runningCount, 2);
}

} // namespace
} // namespace grimsweep
