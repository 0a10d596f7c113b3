// The scan report's bytes, when it is written and when not, and the viewer that shows it.
#include "report/scan_report.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "../app/main_window_fixture.h"
#include "app/console_scan.h"
#include "app/main_window_controls.h"
#include "definitions/definition_files.h"
#include "definitions/exclusion_list.h"
#include "removal/quarantine_log.h"
#include "report/report_window.h"
#include "ui/console_host.h"
#include "ui/list_icons.h"

namespace grimsweep {
namespace {

using namespace settings;

constexpr LocalDateTime kStart{.year = 2026, .month = 3, .day = 4, .hour = 9, .minute = 5, .second = 7};
constexpr LocalDateTime kFinish{.year = 2026, .month = 3, .day = 4, .hour = 14, .minute = 30, .second = 0};

// The lines every report starts with, for "Grimsweep" 3.1 scanned from kStart to kFinish with the counters
// 12, 345 and 6789.
std::string ReportHead() {
    return "\r\n\r\n"
           "                   Grimsweepv3.1   Scan Report.\r\n\r\n"
           "\r\n\r\n"
           "-----------------------\r\n\r\n"
           " Scan Started at  : 3/4/2026 9:05:07 AM\r\n\r\n"
           " Scan Finished at : 3/4/2026 2:30:00 PM\r\n\r\n"
           "-----------------------\r\n\r\n"
           "\r\n\r\n\r\n\r\n\r\n\r\n"
           " 1)Total Number of Cookies and Processes inspected: 12\r\n\r\n"
           " 2)Total Number of Registry entries inspected: 345\r\n\r\n"
           " 3)Total Number of Files/Folders inspected: 6789\r\n\r\n"
           "\r\n\r\n"
           "[Threats Detected]\r\n\r\n\r\n";
}

constexpr std::string_view kReportTail = "\r\n\r\n=====================End Of Report.\r\n";

class ReportTest : public ::testing::Test {
protected:
    ReportTest() : context(sim.View(), host), window(host, std::string(kMainWindowName)) {
        context.EstablishDataFolder();
        sim.files.PutFolder(context.dataFolder);
        context.brand.programName = "Grimsweep";
        context.brand.majorVersion = 3;
        context.brand.minorVersion = 1;
        BuildMainWindowControls(window);
        lists = std::make_unique<ScanLists>(window);
        state.started = kStart;
        state.finished = kFinish;
        window.Get("lblMemoryInspected").SetCaption("12");
        window.Get("lblRegistryInspected").SetCaption("345");
        window.Get("lblFilesFolderInspected").SetCaption("6789");
    }
    std::string Report() { return sim.files.Contents(ReportPath(context)); }

    sim::SimMachine sim;
    HeadlessHost host;
    Context context;
    ui::Form window;
    std::unique_ptr<ScanLists> lists;
    ScanState state;
};

TEST_F(ReportTest, ThreatsExclusionsAndQuarantineLogAreWrittenInTheirSections) {
    lists->AddRemovalRow("Evil Toolbar", ui::kIconFile, "C:\\Program Files\\Evil\\bar.dll", "adware");
    lists->AddRemovalRow("Evil Run key", ui::kIconRegistry, "HKLM\\Software\\Evil", "hijacker");
    // Empty and single-blank lines are left out; a line of two blanks is an entry like any other.
    sim.files.PutFile(context.DataFile(kExclusionFile), "C:\\keep.exe\r\n\r\n \r\n  \r\nHKCU\\Keep\r\n");
    sim.files.PutFolder(context.dataFolder + "\\quarantine");
    sim.files.PutFile(QuarantineLogPath(context), "first removed\r\nsecond removed\r\n");

    ASSERT_TRUE(MakeReport(context, window, *lists, state));

    EXPECT_EQ(Report(), ReportHead() +
                            "Evil Toolbar\r\n\r\n"
                            "C:\\Program Files\\Evil\\bar.dll\r\n\r\n\r\n"
                            "Evil Run key\r\n\r\n"
                            "HKLM\\Software\\Evil\r\n\r\n\r\n"
                            "Total = 2\r\n\r\n"
                            "\r\n[Files Currently Excluded]\r\n\r\n"
                            "C:\\keep.exe\r\n  \r\nHKCU\\Keep\r\n\r\n\r\n"
                            "\r\n[Current Quarantine Log]\r\n\r\n"
                            "first removed\r\n\r\nsecond removed\r\n\r\n\r\n\r\n\r\n" +
                            std::string(kReportTail));
}

TEST_F(ReportTest, CleanScanWithoutListsHasOnlyTheTotalAndEndsWithTheMarker) {
    sim.files.PutFile(context.DataFile(kExclusionFile), "\r\n \r\n\r\n");

    ASSERT_TRUE(MakeReport(context, window, *lists, state));

    const std::string report = Report();
    EXPECT_EQ(report, ReportHead() + "Total = 0\r\n\r\n" + std::string(kReportTail));
    EXPECT_TRUE(report.ends_with("\r\n\r\n=====================End Of Report.\r\n"));
}

TEST_F(ReportTest, NonAsciiTextIsWrittenInTheSystemCodePage) {
    lists->AddRemovalRow("Sp\xC3\xA4her", ui::kIconFile, "C:\\M\xC3\xBCll\\x.exe", "");
    ASSERT_TRUE(MakeReport(context, window, *lists, state));
    const std::string report = Report();
    EXPECT_NE(report.find("Sp\xE4her\r\n\r\nC:\\M\xFCll\\x.exe\r\n"), std::string::npos);
    EXPECT_EQ(report.find("\xC3"), std::string::npos) << "no UTF-8 left in the file";
}

TEST_F(ReportTest, FailedWriteKeepsThePreviousReport) {
    sim.files.PutFile(ReportPath(context), "previous report\r\n");
    sim.files.SetMoveFails(ReportPath(context), true);
    EXPECT_FALSE(MakeReport(context, window, *lists, state));
    EXPECT_EQ(Report(), "previous report\r\n");

    sim.files.SetMoveFails(ReportPath(context), false);
    EXPECT_TRUE(MakeReport(context, window, *lists, state));
    EXPECT_TRUE(Report().starts_with(ReportHead()));
}

TEST(ReportViewerTextTest, BlankLinesBecomeLineBreaksAndOtherLinesRunOn) {
    EXPECT_EQ(ReportViewerText({"", "Title", "", "  ", "a", "b", " ", "end"}), "\r\nTitle\r\n\r\nab\r\nend");
}

// The report as the main window writes it after a user scan, and the viewer's commands.
class ReportWindowTest : public MainWindowTest {
protected:
    ReportWindowTest() {
        Open();
        for (std::string_view name : {kFileDefinitionFile, kRegistryDefinitionFile, kExeDefinitionFile,
                                      kBlockedCookiesFile, kDirectoryDefinitionFile}) {
            sim.files.PutFile(context->DataFile(name), "");
        }
        window->Scan().stages.files = [](ScanRun& run) {
            run.lists.AddRemovalRow("Evil", ui::kIconFile, "C:\\evil.exe", "adware");
        };
    }
    std::string ReportFile() { return context->DataFile(kReportFileName); }
};

TEST_F(ReportWindowTest, TheLogOptionDecidesWhetherAScanReplacesTheReport) {
    Control("chkMakeLog").SetValue(1);
    Control("cmdScanNow").Click();
    ASSERT_TRUE(sim.files.Exists(ReportFile()));
    const std::string first = sim.files.Contents(ReportFile());
    EXPECT_NE(first.find("Evil\r\n\r\nC:\\evil.exe\r\n"), std::string::npos);
    EXPECT_NE(first.find("Total = 1\r\n"), std::string::npos);

    Control("chkMakeLog").SetValue(0);
    EXPECT_EQ(Setting(kSectionOptions, kMakeLog), "0");
    sim.files.PutFile(ReportFile(), "kept\r\n");
    Control("cmdScanNow").Click();
    EXPECT_EQ(sim.files.Contents(ReportFile()), "kept\r\n");

    sim.files.DeleteFile(ReportFile());
    Control("cmdScanNow").Click();
    EXPECT_FALSE(sim.files.Exists(ReportFile())) << "no report while the option is off";
}

TEST_F(ReportWindowTest, EveryViewLogCommandShowsTheReportModallyWithTheLabelDisabled) {
    context->brand.programName = "Grimsweep";
    sim.files.PutFile(ReportFile(), "\r\n\r\n  Sp\xE4her\r\n\r\nTotal = 1\r\n\r\n");
    int shown = 0;
    host->onModal = [&](ui::Form& form) {
        ++shown;
        EXPECT_EQ(form.Name(), "frmReport");
        EXPECT_EQ(form.Caption(), "Grimsweep Log");
        EXPECT_EQ(form.Get("txtReport").Text(), "\r\n\r\n  Sp\xC3\xA4her\r\nTotal = 1\r\n");
        EXPECT_TRUE(form.Get("txtReport").MultiLine());
        EXPECT_TRUE(form.Get("txtReport").Locked());
        EXPECT_FALSE(Control("lblViewLogFile").Enabled());
        form.Get("cmdOk").Click();
    };
    Control("cmdLog").Click();
    EXPECT_TRUE(Control("lblViewLogFile").Enabled());
    Control("lblViewLogFile").Click();
    Control("mnuFileViewLog").Click();
    EXPECT_EQ(shown, 3);
    EXPECT_TRUE(Control("lblViewLogFile").Enabled());

    sim.files.DeleteFile(ReportFile());
    host->onModal = [&](ui::Form& form) {
        EXPECT_EQ(form.Get("txtReport").Text(), "") << "a missing report opens an empty viewer";
        form.Get("cmdOk").Click();
    };
    Control("cmdLog").Click();
}

TEST(ConsoleReportTest, GscanScanWritesTheReportWhenTheLogOptionIsOn) {
    sim::SimMachine sim;
    std::ostringstream out;
    ConsoleHost host(out);
    Context context(sim.View(), host);
    context.EstablishDataFolder();
    context.messages.RegisterDefaults();
    sim.files.PutFolder(context.dataFolder);
    for (std::string_view name : {kFileDefinitionFile, kRegistryDefinitionFile, kExeDefinitionFile,
                                  kBlockedCookiesFile, kDirectoryDefinitionFile}) {
        sim.files.PutFile(context.DataFile(name), "");
    }
    ScanStages stages;
    stages.files = [](ScanRun& run) { run.lists.AddRemovalRow("Evil", ui::kIconFile, "C:\\evil.exe", ""); };
    const std::string report = context.DataFile(kReportFileName);

    context.settings.Write(kSectionOptions, kMakeLog, "0");
    RunConsoleScan(context, stages, out, false);
    EXPECT_FALSE(sim.files.Exists(report));

    context.settings.Write(kSectionOptions, kMakeLog, "1");
    EXPECT_EQ(RunConsoleScan(context, stages, out, false), kConsoleScanFoundThreats);
    ASSERT_TRUE(sim.files.Exists(report));
    EXPECT_NE(sim.files.Contents(report).find("Evil\r\n\r\nC:\\evil.exe\r\n\r\n\r\nTotal = 1\r\n"),
              std::string::npos);
}

} // namespace
} // namespace grimsweep
