#include "app/console_scan.h"

#include <gtest/gtest.h>

#include <sstream>

#include "../definitions/definitions_fixture.h"
#include "definitions/definition_files.h"
#include "ui/console_host.h"
#include "ui/list_icons.h"

namespace grimsweep {
namespace {

class ConsoleScanTest : public ::testing::Test {
protected:
    ConsoleScanTest() : host(out), context(sim.View(), host) {
        context.EstablishDataFolder();
        context.messages.RegisterDefaults();
        sim.files.PutFolder(context.dataFolder);
    }
    void PutAllDefinitionFiles() {
        for (std::string_view name : {kFileDefinitionFile, kRegistryDefinitionFile, kExeDefinitionFile,
                                      kBlockedCookiesFile, kDirectoryDefinitionFile}) {
            sim.files.PutFile(context.DataFile(name), "");
        }
    }

    sim::SimMachine sim;
    std::ostringstream out;
    ConsoleHost host;
    Context context;
    ScanStages stages;
};

TEST_F(ConsoleScanTest, MissingDefinitionsPrintTheMessageAndEndWithTheErrorCode) {
    EXPECT_EQ(RunConsoleScan(context, stages, out, false), kConsoleScanError);
    EXPECT_NE(
        out.str().find("Definition files are missing or they have been corrupted. Please run Live Update."),
        std::string::npos);
}

TEST_F(ConsoleScanTest, FindingsArePrintedWithTheirLocationsAndSetTheExitCode) {
    PutAllDefinitionFiles();
    EXPECT_EQ(RunConsoleScan(context, stages, out, false), kConsoleScanClean);
    stages.files = [](ScanRun& run) {
        for (int i = 0; i < 120; ++i) {
            ++run.state.counters.filesAndFolders;
            run.feedback.ReportProgress(run.StatusText("C:\\x" + std::to_string(i)), 1, 1);
        }
        run.lists.AddFound("Evil - Found", ui::kIconFile);
        run.lists.AddRemovalRow("Evil", ui::kIconFile, "C:\\evil.exe", "adware");
        ++run.state.counters.threatsFound;
    };
    out.str("");
    EXPECT_EQ(RunConsoleScan(context, stages, out, false), kConsoleScanFoundThreats);
    const std::string text = out.str();
    EXPECT_NE(text.find("Scanning known Spyware/Adware:  C:\\x99\n"), std::string::npos) << text;
    EXPECT_NE(text.find("  Evil - Found\n"), std::string::npos);
    EXPECT_NE(text.find("Files and folders inspected:     120"), std::string::npos) << "the final count";
    EXPECT_NE(text.find("  Evil  [C:\\evil.exe]  (adware)\n"), std::string::npos);
}

TEST_F(ConsoleScanTest, OnAConsoleProgressRewritesOneLine) {
    PutAllDefinitionFiles();
    stages.files = [](ScanRun& run) {
        for (int i = 0; i < 100; ++i) {
            run.feedback.ReportProgress(run.StatusText(std::string(100, 'x')), 1, 1);
        }
    };
    RunConsoleScan(context, stages, out, true);
    const std::string text = out.str();
    const std::size_t line = text.find("\rScanning known");
    ASSERT_NE(line, std::string::npos);
    EXPECT_EQ(text.find('\r', line + 1) - line, 80u) << "cut to the console's width";
    EXPECT_EQ(text.find('\n'), text.rfind('\r') + 1) << "no line break before the progress is wiped";
}

} // namespace
} // namespace grimsweep

namespace grimsweep {
namespace {

TEST_F(ConsoleScanTest, RemoveTakesEverythingFoundAndSaysWhatStayed) {
    PutAllDefinitionFiles();
    sim.files.PutFile("C:\\Temp\\evil.exe", "MZ evil");
    sim.files.PutFile("C:\\Temp\\held.dll", "MZ held");
    sim.files.SetHeldOpenForReading("C:\\Temp\\held.dll", true);
    stages.files = [](ScanRun& run) {
        for (const char* path : {"C:\\Temp\\evil.exe", "C:\\Temp\\held.dll"}) {
            const std::string threat = std::string("Threat ") + path;
            run.lists.AddFound(threat + " - Found", ui::kIconFile);
            run.lists.AddRemovalRow(threat, ui::kIconFile, path, "");
            run.lists.AddFileRow(path, threat);
            ++run.state.counters.threatsFound;
        }
    };
    EXPECT_EQ(RunConsoleRemoval(context, stages, out, false), kConsoleScanFoundThreats);
    const std::string text = out.str();
    EXPECT_NE(text.find("Removed (1):\n  Threat C:\\Temp\\evil.exe\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Stayed (1):\n  C:\\Temp\\held.dll\n"), std::string::npos) << text;
    EXPECT_FALSE(sim.files.Exists("C:\\Temp\\evil.exe"));
    EXPECT_EQ(text.find("Really Delete?"), std::string::npos) << "no question";

    sim.files.SetHeldOpenForReading("C:\\Temp\\held.dll", false);
    sim.files.PutFile("C:\\Temp\\evil.exe", "MZ evil again");
    out.str("");
    EXPECT_EQ(RunConsoleRemoval(context, stages, out, false), kConsoleScanClean) << out.str();
    EXPECT_FALSE(sim.files.Exists("C:\\Temp\\held.dll"));
    EXPECT_TRUE(sim.files.Exists(context.DataFile("quarantine\\evil (2).exe")));
}

} // namespace
} // namespace grimsweep
