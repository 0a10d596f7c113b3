// The user scan as the main window runs it: the order of the stages and their options, Stop, Pause, the
// progress throttle, the end of a scan and the removal list's check marks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/settings_keys.h"
#include "definitions/definition_files.h"
#include "main_window_fixture.h"
#include "scan/scan_driver.h"
#include "ui/list_icons.h"

namespace grimsweep {
namespace {

using namespace settings;

class ScanCommandTest : public MainWindowTest {
protected:
    ScanCommandTest() {
        Open();
        for (std::string_view name : {kFileDefinitionFile, kRegistryDefinitionFile, kExeDefinitionFile,
                                      kBlockedCookiesFile, kDirectoryDefinitionFile}) {
            sim.files.PutFile(context->DataFile(name), "");
        }
        ScanStages& stages = Driver().stages;
        stages.cookies = Recorder("cookies");
        stages.processes = Recorder("processes");
        stages.registry = Recorder("registry");
        stages.files = Recorder("files");
        stages.folders = Recorder("folders");
    }

    ScanDriver& Driver() { return window->Scan(); }
    std::function<void(ScanRun&)> Recorder(std::string name) {
        return [this, name](ScanRun& run) {
            ran.push_back(name);
            if (name == "files" && inFiles) {
                inFiles(run);
            }
        };
    }
    void RunScan() { Control("cmdScanNow").Click(); }

    std::vector<std::string> ran;
    std::function<void(ScanRun&)> inFiles;
};

TEST_F(ScanCommandTest, StagesRunInTheirOrderAndOnlyTheirOptionsSwitchThemOff) {
    RunScan();
    EXPECT_EQ(ran, (std::vector<std::string>{"cookies", "processes", "registry", "files", "folders"}));
    ran.clear();
    for (auto key : {kScanCookies, kSweepMemory, kScanRegistry}) {
        context->settings.Write(kSectionOptions, key, "0");
    }
    RunScan();
    EXPECT_EQ(ran, (std::vector<std::string>{"files", "folders"})) << "files and folders run in every scan";
    EXPECT_EQ(Control("lblMemoryInspected").Caption(), "Not Selected");
    EXPECT_EQ(Control("lblRegistryInspected").Caption(), "Not Selected");
    EXPECT_EQ(Control("lblStatus").Caption(), "Scanning complete.");
}

TEST_F(ScanCommandTest, MissingDefinitionsEndTheScanNormallyWithTheMessage) {
    sim.files.DeleteFile(context->DataFile(kRegistryDefinitionFile));
    Control("tmrMemoryInspected").SetEnabled(false);
    RunScan();
    EXPECT_TRUE(ran.empty());
    ASSERT_FALSE(host->Shown().empty());
    EXPECT_EQ(host->Shown().back().text,
              "Definition files are missing or they have been corrupted. Please run Live Update.");
    EXPECT_NE(Setting(kSectionSettings, kLastScan), "<unset>") << "the scan time is stored all the same";
    EXPECT_TRUE(Control("cmdScanNow").Enabled());
    EXPECT_TRUE(Control("cmdScan").Enabled());
    EXPECT_FALSE(Control("cmdStop").Enabled());
    EXPECT_TRUE(Control("cmdRemove").Visible());
    EXPECT_TRUE(TimerOn("tmrMemoryInspected")) << "the shield is re-armed from its setting";
}

TEST_F(ScanCommandTest, StopDuringTheFileStageCancelsAndTheNextChecksAreNotStopped) {
    int reportsWritten = 0;
    Driver().hooks.writeReport = [&] { ++reportsWritten; };
    bool runningDuringStage = false;
    bool stopSeen = false;
    inFiles = [&](ScanRun& run) {
        runningDuringStage = run.feedback.UserScanRunning();
        EXPECT_FALSE(Control("cmdScanNow").Enabled());
        EXPECT_TRUE(Control("cmdStop").Enabled());
        host->Answer(MessageBoxAnswer::Yes);
        Control("cmdStop").Click();
        stopSeen = run.StopRequested();
    };
    Control("chkMakeLog").SetValue(1);
    RunScan();
    EXPECT_TRUE(runningDuringStage);
    EXPECT_TRUE(stopSeen);
    EXPECT_EQ(host->Shown().back().text, "Are you sure you want to stop the scan?");
    EXPECT_EQ(Control("lblStatus").Caption(), "Scanning was cancelled.");
    EXPECT_EQ(Control("lblPercentageCompleted").Caption(), "0% Completed.");
    EXPECT_EQ(Control("pbgMain").Value(), 0);
    EXPECT_EQ(reportsWritten, 1) << "the log is still written";
    EXPECT_FALSE(window->ScanStatus().stopRequested) << "a later process check must not see the old request";
}

TEST_F(ScanCommandTest, PauseHoldsTheScanInAnInformationBoxAndTheLabelsActOnlyDuringAScan) {
    inFiles = [&](ScanRun&) {
        host->Answer(MessageBoxAnswer::Ok);
        Control("lblPause").Click();
    };
    RunScan();
    ASSERT_FALSE(host->Shown().empty());
    EXPECT_EQ(host->Shown().back().text, "[ProgramName] has been paused.  Click OK to resume.");
    EXPECT_EQ(host->Shown().back().icon, MessageBoxIcon::Information);
    const std::size_t boxes = host->Shown().size();
    Control("lblPause").Click();
    Control("lblStop").Click();
    EXPECT_EQ(host->Shown().size(), boxes) << "no scan runs: Pause and Stop are off";
    EXPECT_FALSE(Control("cmdPause").Enabled());
}

TEST_F(ScanCommandTest, TheProgressThrottleCountsAcrossScansAndTheEndShowsTheFinalFigures) {
    int reports = 150;
    std::vector<std::string> shownAt;
    inFiles = [&](ScanRun& run) {
        for (int i = 0; i < reports; ++i) {
            ++run.state.counters.filesAndFolders;
            run.feedback.ReportProgress(run.StatusText("C:\\shithead\\x.exe"), 10, 20);
            shownAt.push_back(Control("lblFilesFolderInspected").Caption());
        }
    };
    RunScan();
    EXPECT_EQ(shownAt[98], "0");
    EXPECT_EQ(shownAt[99], "100") << "the 100th report refreshes";
    EXPECT_EQ(Control("lblFilesFolderInspected").Caption(), "150") << "the end shows the last count";
    // 150 reports and the final one leave the counter at 51: the next scan refreshes on its 49th report.
    shownAt.clear();
    reports = 49;
    RunScan();
    EXPECT_EQ(shownAt[47], "0");
    EXPECT_EQ(shownAt[48], "49");
    EXPECT_EQ(Control("lblStatus").Caption(), "Scanning complete.");
}

TEST_F(ScanCommandTest, TheStatusLineMasksWordsInsidePaths) {
    inFiles = [&](ScanRun& run) {
        for (int i = 0; i < 100; ++i) {
            run.feedback.ReportProgress(run.StatusText("C:\\Shithead\\x.exe"), 10, 20);
        }
        EXPECT_EQ(Control("lblStatus").Caption(), "Scanning known Spyware/Adware: \r\nC:\\\\x.exe");
    };
    RunScan();
}

class RemovalChecksTest : public ScanCommandTest {
protected:
    void Row(std::string text, int kind, std::string location) {
        window->ScanResults().AddRemovalRow(std::move(text), kind, std::move(location), "");
    }
    std::vector<bool> Checks(std::string_view list) {
        std::vector<bool> checks;
        for (const auto& row : Control(list).Rows()) {
            checks.push_back(row.checked);
        }
        return checks;
    }
};

TEST_F(RemovalChecksTest, EachKindTicksItsPartnersAndAThreatsOtherTracesGoWithIt) {
    ScanLists& lists = window->ScanResults();
    Row("Cookie: me@ads[1].txt", ui::kIconCookie, "C:\\Cookies\\me@ads[1].txt");
    Row("Evil", ui::kIconRegistry, "HKEY_LOCAL_MACHINE\\Software\\Evil");
    Row("Worse", ui::kIconFile, "C:\\worse.exe");
    Row("Nest", ui::kIconFolder, "C:\\Nest");
    lists.AddCookieRow("C:\\Cookies\\me@ads[1].txt");
    lists.AddCookieRow("C:\\Cookies\\me@other[1].txt");
    lists.AddRegistryRow(RegistryRoot::LocalMachine, "Software\\Evil", "", "Evil"); // matches by sub-item 3
    lists.AddRegistryRow(RegistryRoot::LocalMachine, "Software\\Else", "", "Else");
    lists.AddFileRow("C:\\evil.dll", "Evil"); // a file of the threat the registry stage listed
    lists.AddFileRow("C:\\worse.exe", "Worse");
    lists.AddFileRow("C:\\Nest", "Nest");
    lists.AddFileRow("C:\\other.exe", "Other");

    Control(kRemovalListName).SetRowChecked(1, true);
    EXPECT_EQ(Checks("lvwRegistryToBeDeleted"), (std::vector<bool>{true, false}));
    EXPECT_EQ(Checks("lvwFilesToBeDeleted"), (std::vector<bool>{true, false, false, false}));
    Control(kRemovalListName).SetRowChecked(1, false);
    EXPECT_EQ(Checks("lvwFilesToBeDeleted"), (std::vector<bool>{false, false, false, false}));

    Control("cmdSelectAll").Click();
    EXPECT_EQ(Checks(kRemovalListName), (std::vector<bool>{true, true, true, true}));
    EXPECT_EQ(Checks("lvwCookiesToDelete"), (std::vector<bool>{true, false}));
    EXPECT_EQ(Checks("lvwRegistryToBeDeleted"), (std::vector<bool>{true, false}));
    EXPECT_EQ(Checks("lvwFilesToBeDeleted"), (std::vector<bool>{true, true, true, false}));
}

TEST_F(ScanCommandTest, HoveringTheLabelsItalicisesOneAndThePanelShowsTheHourglassDuringAScan) {
    std::vector<bool> pointers;
    Driver().hooks.setBusyPointer = [&](bool busy) { pointers.push_back(busy); };
    Control("lblPause").onMouseMove();
    EXPECT_TRUE(Control("lblPause").Italic());
    EXPECT_FALSE(Control("lblStart").Italic());
    inFiles = [&](ScanRun&) { Control("frmScan").onMouseMove(); };
    RunScan();
    EXPECT_FALSE(Control("lblPause").Italic());
    ASSERT_GE(pointers.size(), 2u);
    EXPECT_TRUE(pointers[0]) << "busy while the scan runs";
    EXPECT_FALSE(pointers.back()) << "the default pointer when it ends";
}

} // namespace
} // namespace grimsweep
