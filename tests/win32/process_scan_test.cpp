// The process scan, listing and stopping on the real system under Wine, with copies of the helper
// programs started from folders of the test's own. Every copy started is ended again, whatever happens.
#include "scan/process_scan.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "win32/temp_folder.h"

#include "common/text.h"
#include "definitions/definition_files.h"
#include "definitions/line_code.h"
#include "platform/win32/win32_machine.h"
#include "scan/process_list.h"
#include "scan/process_stop.h"
#include "ui/form.h"
#include "ui/headless_host.h"

namespace grimsweep::win32 {
namespace {

class UserScanFeedback : public IScanFeedback {
public:
    void ReportProgress(std::string_view, double, double) override {}
    void Pump() override {}
    bool UserScanRunning() const override { return userScan; }
    bool userScan = true;
};

// The form holding the lists the scan writes.
ui::Form& WithScanLists(ui::Form& form) {
    for (std::string_view name : {kFoundList, kRemovalListName, kFilesToDeleteList, kRegistryToDeleteList,
                                  kCookiesToDeleteList, kFileNotFoundList}) {
        form.Add(std::string(name), ui::ControlType::ListView);
    }
    return form;
}

class ProcessScanTest : public TempFolderTest {
protected:
    ProcessScanTest() : TempFolderTest("grimsweep-process-test") {}

    void SetUp() override {
        TempFolderTest::SetUp();
        context.dataFolder = folder;
    }

    void TearDown() override {
        for (const auto& child : children_) {
            TerminateProcess(child.hProcess, 0);
            WaitForSingleObject(child.hProcess, 5000);
            CloseHandle(child.hProcess);
        }
        children_.clear();
        TempFolderTest::TearDown();
    }

    // A copy of a helper program (GRIMSWEEP_DEMO_THREAT_NAME or ..._DECOY_NAME) at folder\sub\name.
    std::string CopyHelper(const char* helper, const std::string& sub, const std::string& name) {
        const std::string own = machine.system.OwnExecutablePath();
        const std::string from = own.substr(0, own.rfind('\\') + 1) + helper;
        files.CreateFolder(folder + "\\" + sub);
        const std::string to = folder + "\\" + sub + "\\" + name;
        EXPECT_TRUE(files.CopyFile(from, to, false)) << from;
        return to;
    }

    // Starts the program and returns its process handle and identifier; ended in TearDown.
    PROCESS_INFORMATION Start(const std::string& path) {
        std::wstring command = L"\"" + Widen(path) + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION child{};
        EXPECT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                   &startup, &child))
            << path;
        CloseHandle(child.hThread);
        children_.push_back(child);
        // Right after creation the process's modules are not listed yet; wait until its name reads.
        for (int wait = 0; wait < 500; ++wait) {
            if (machine.processes.QueryMainModule(child.dwProcessId).status == ModuleQueryStatus::Ok) {
                break;
            }
            Sleep(10);
        }
        return child;
    }

    static bool Running(const PROCESS_INFORMATION& child) {
        return WaitForSingleObject(child.hProcess, 0) == WAIT_TIMEOUT;
    }
    static bool Ends(const PROCESS_INFORMATION& child) {
        return WaitForSingleObject(child.hProcess, 5000) == WAIT_OBJECT_0;
    }

    void PutExeDefinitions(const std::vector<std::string>& lines) {
        std::string bytes;
        for (const auto& line : lines) {
            bytes += EncodeDefinitionLine(line) + "\r\n";
        }
        ASSERT_TRUE(files.WriteFile(context.DataFile(kExeDefinitionFile), bytes));
    }

    std::vector<std::string> FoundTexts() const {
        std::vector<std::string> texts;
        for (const auto& row : lists.Found().Rows()) {
            texts.push_back(row.text);
        }
        return texts;
    }

    Win32Machine machine;
    HeadlessHost host;
    Context context{machine.View(), host};
    DefinitionState definitions;
    PathMacroTable macros = PathMacroTable::Capture(machine.shell);
    ScanState state;
    ui::Form listsForm{host, "frmLists"};
    ScanLists lists{WithScanLists(listsForm)};
    UserScanFeedback feedback;
    ScanRun run{context, definitions, macros, state, lists, feedback, {}};

private:
    std::vector<PROCESS_INFORMATION> children_;
};

TEST_F(ProcessScanTest, StopsTheListedCopyAndLeavesTheSameNameElsewhereAndTheDecoy) {
    const auto listed = Start(CopyHelper(GRIMSWEEP_DEMO_THREAT_NAME, "listed", "svcdemo.exe"));
    const auto elsewhere = Start(CopyHelper(GRIMSWEEP_DEMO_THREAT_NAME, "elsewhere", "svcdemo.exe"));
    const auto decoy = Start(CopyHelper(GRIMSWEEP_DEMO_DECOY_NAME, "decoy", "decoydemo.exe"));
    PutExeDefinitions(
        {"svcdemo.exe=Demo Threat|" + folder + "\\listed", "decoydemo.exe=Demo Decoy|" + folder + "\\decoy"});

    const ProcessScanOutcome outcome = ScanProcesses(run);
    EXPECT_GE(outcome.runningCount, 3);
    EXPECT_EQ(outcome.threatsReported, 1);
    EXPECT_EQ(FoundTexts(),
              std::vector<std::string>{"Detected in the memory : SVCDEMO.EXE was stopped from running."});
    EXPECT_TRUE(Ends(listed));
    EXPECT_TRUE(Running(elsewhere));
    EXPECT_TRUE(Running(decoy));
}

TEST_F(ProcessScanTest, OutsideAUserScanTheAlertGetsTheRunningHelper) {
    const std::string path = CopyHelper(GRIMSWEEP_DEMO_THREAT_NAME, "listed", "alertdemo.exe");
    const auto child = Start(path);
    PutExeDefinitions({"alertdemo.exe=Demo Threat|" + folder + "\\listed"});
    feedback.userScan = false;
    std::vector<RunningThreat> alerts;
    run.onRunningThreatOutsideScan = [&](const RunningThreat& threat) { alerts.push_back(threat); };

    EXPECT_EQ(ScanProcesses(run).threatsReported, 1);
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0].processId, child.dwProcessId);
    EXPECT_EQ(alerts[0].imagePath, ToUpper(path));
    EXPECT_EQ(alerts[0].name, "ALERTDEMO.EXE");
    EXPECT_EQ(alerts[0].companyName, "Grimsweep Demo Threats");
    EXPECT_TRUE(Running(child));
}

TEST_F(ProcessScanTest, ListsMoreThan128Processes) {
    const std::string path = CopyHelper(GRIMSWEEP_DEMO_THREAT_NAME, "many", "manydemo.exe");
    std::vector<std::uint32_t> started;
    for (int i = 0; i < 130; ++i) {
        started.push_back(Start(path).dwProcessId);
    }
    for (const bool processStatus : {true, false}) {
        std::vector<std::string> names;
        std::vector<std::uint32_t> ids;
        EXPECT_EQ(ListProcesses(machine.processes, names, ids, "manydemo", processStatus), 130);
        std::sort(ids.begin(), ids.end());
        std::sort(started.begin(), started.end());
        EXPECT_EQ(ids, started);
    }
}

TEST_F(ProcessScanTest, MainModulePathsAndShortFormsNameTheStartedCopy) {
    const std::string path = CopyHelper(GRIMSWEEP_DEMO_THREAT_NAME, "long folder name", "pathdemo.exe");
    const auto child = Start(path);
    const MainModule module = machine.processes.QueryMainModule(child.dwProcessId);
    ASSERT_EQ(module.status, ModuleQueryStatus::Ok);
    EXPECT_TRUE(EqualsIgnoreCase(module.fullPath, path)) << module.fullPath;
    EXPECT_EQ(ProcessBaseName(machine.processes, child.dwProcessId), "pathdemo.exe");

    // Wine gives the folder a short name of its own; the long form brings the path back.
    wchar_t shortPath[MAX_PATH] = {};
    ASSERT_GT(GetShortPathNameW(Widen(path).c_str(), shortPath, MAX_PATH), 0u);
    const std::string shortForm = Narrow(shortPath);
    EXPECT_FALSE(EqualsIgnoreCase(shortForm, path));
    const auto longForm = files.LongPathName(shortForm);
    ASSERT_TRUE(longForm.has_value());
    EXPECT_TRUE(EqualsIgnoreCase(*longForm, path)) << *longForm;
    EXPECT_FALSE(files.LongPathName(folder + "\\missing.exe").has_value());

    // A stop by identifier and image leaves a different program alone, and stops the one named even in
    // its short form.
    const auto other = Start(CopyHelper(GRIMSWEEP_DEMO_THREAT_NAME, "other", "pathdemo.exe"));
    EXPECT_EQ(StopRunningThreat(context.machine, other.dwProcessId, path), ThreatStop::OtherProgram);
    EXPECT_TRUE(Running(other));
    EXPECT_EQ(StopRunningThreat(context.machine, child.dwProcessId, shortForm), ThreatStop::Stopped);
    EXPECT_TRUE(Ends(child));
}

TEST_F(ProcessScanTest, StopsWithTheDebugPrivilegeAndByName) {
    const auto first = Start(CopyHelper(GRIMSWEEP_DEMO_THREAT_NAME, "a", "stopdemo.exe"));
    const auto second = Start(CopyHelper(GRIMSWEEP_DEMO_THREAT_NAME, "b", "namedemo.exe"));
    EXPECT_TRUE(TerminateWithDebugPrivilege(context.machine, first.dwProcessId, 0));
    EXPECT_TRUE(Ends(first));
    EXPECT_TRUE(StopProcessByName(context, "NAMEDEMO.EXE"));
    EXPECT_TRUE(Ends(second));
}

} // namespace
} // namespace grimsweep::win32
