// The file and folder stages on the simulated machine: presence, the order of the safe, exclusion and
// company tests, once-per-threat listing, details, the counters and progress, and the stop request.
#include "scan/file_scan.h"

#include <gtest/gtest.h>

#include "definitions/definition_files.h"
#include "scan_fixture.h"
#include "ui/list_icons.h"
#include "version_resource_bytes.h"

namespace grimsweep {
namespace {

const std::string kEvilFolder = "C:\\Program Files\\Evil";

class FileScanTest : public ScanStageTest {
protected:
    void ScanFileLines(const std::vector<std::string>& plainLines) {
        PutDefinitions(kFileDefinitionFile, plainLines);
        ScanFiles(run);
    }
    void ScanFolderLines(const std::vector<std::string>& plainLines) {
        PutDefinitions(kDirectoryDefinitionFile, plainLines);
        ScanFolders(run);
    }
    void PutProgram(const std::string& name, std::string_view company = "Evil Inc",
                    std::uint32_t attributes = kAttrArchive) {
        sim.files.PutFile(kEvilFolder + "\\" + name, version_bytes::WideResource(company), attributes);
    }
};

TEST_F(FileScanTest, TwoPresentFilesOfOneThreatGiveTwoTracesButOneListing) {
    PutProgram("a.exe");
    PutProgram("b.dll");
    ScanFileLines({"a.exe=Evil|[drive]Program Files\\Evil|Adware", "b.dll=EVIL|[progfil]\\Evil"});

    EXPECT_EQ(Texts(lists.Files()),
              (std::vector<std::string>{kEvilFolder + "\\a.exe", kEvilFolder + "\\b.dll"}));
    EXPECT_EQ(lists.Files().Rows()[1].SubItem(1), "EVIL");
    EXPECT_EQ(state.counters.traces, 2);
    EXPECT_EQ(Texts(lists.Found()), std::vector<std::string>{"Evil - Found"});
    EXPECT_EQ(lists.Found().Rows()[0].smallIcon, ui::kIconFile);
    ASSERT_EQ(lists.Removal().Rows().size(), 1u);
    const auto& row = lists.Removal().Rows()[0];
    EXPECT_EQ(row.smallIcon, ui::kIconFile);
    EXPECT_EQ(row.subItems, (std::vector<std::string>{kEvilFolder + "\\a.exe", "Adware"}));
    EXPECT_EQ(state.counters.threatsFound, 1);
    EXPECT_EQ(state.counters.filesAndFolders, 2);
}

// On 64-bit Windows the same definition names the 32-bit program's place too: each present copy is a
// finding named by where it really is.
TEST_F(FileScanTest, ThirtyTwoBitProgramsAreFoundInTheirOwnFoldersUnderTheirRealNames) {
    sim.shell.folders[41] = "C:\\WINDOWS\\SysWOW64";
    sim.shell.folders[42] = "C:\\Program Files (x86)";
    macros = PathMacroTable::Capture(sim.shell);
    sim.files.PutFile("C:\\Program Files (x86)\\Evil\\a.exe", version_bytes::WideResource("Evil Inc"));
    sim.files.PutFile("C:\\WINDOWS\\SysWOW64\\evilhook.dll", version_bytes::WideResource("Evil Inc"));
    sim.files.PutFile("C:\\WINDOWS\\system32\\evilhook.dll", version_bytes::WideResource("Evil Inc"));
    ScanFileLines({"a.exe=Evil|[progfil]\\Evil|Adware", "evilhook.dll=Hook|[system]|Spyware"});
    EXPECT_EQ(Texts(lists.Files()), (std::vector<std::string>{"C:\\Program Files (x86)\\Evil\\a.exe",
                                                              "C:\\WINDOWS\\system32\\evilhook.dll",
                                                              "C:\\WINDOWS\\SysWOW64\\evilhook.dll"}));

    sim.files.PutFolder("C:\\Program Files (x86)\\Gloom");
    ScanFolderLines({"Gloom=Gloom|[progfil]\\Gloom|Adware"});
    EXPECT_EQ(lists.Removal().Rows().back().subItems[0], "C:\\Program Files (x86)\\Gloom");

    // What the safe list protects is protected in both views: a whole folder named by a definition and
    // kept by the safe list is never listed from the 32-bit side.
    lists.Clear();
    sim.files.PutFolder("C:\\Program Files\\Common Files");
    sim.files.PutFolder("C:\\Program Files (x86)\\Common Files");
    sim.files.PutFile("C:\\Program Files (x86)\\Clear\\clear.exe", version_bytes::WideResource("Clear Inc"));
    definitions.safeList.Assign({"C:\\Program Files\\Common Files", "C:\\Program Files\\Clear\\clear.exe"});
    ScanFolderLines({"Common=Gloom|[progfil]\\Common Files"});
    ScanFileLines({"clear.exe=Gloom|[progfil]\\Clear|Adware"});
    EXPECT_TRUE(lists.Removal().Rows().empty()) << lists.Removal().Rows()[0].subItems[0];
}

TEST_F(FileScanTest, SafeThenExcludedThenMicrosoftFilesAreLeftOut) {
    PutProgram("safe.exe");
    PutProgram("excluded.exe", "Microsoft Corporation");
    PutProgram("system32.dll", " microsoft corporation ");
    PutProgram("hidden.exe", "Evil Inc", kAttrHidden);
    PutProgram("system.exe", "Evil Inc", kAttrSystem);
    definitions.safeList.Assign({kEvilFolder + "\\SAFE.EXE"});
    definitions.exclusions.Assign(kEvilFolder + "\\safe.exe|" + kEvilFolder + "\\excluded.exe|");
    const std::string folder = "|" + kEvilFolder;
    ScanFileLines({"safe.exe=S" + folder, "excluded.exe=X" + folder, "system32.dll=M" + folder,
                   "hidden.exe=H" + folder, "system.exe=Y" + folder, "absent.exe=A" + folder});

    // The Microsoft file is still shown when it is excluded; otherwise it only counts as inspected.
    EXPECT_EQ(Texts(lists.Found()), std::vector<std::string>{"EXCLUDED: " + kEvilFolder + "\\excluded.exe"});
    EXPECT_EQ(lists.Found().Rows()[0].smallIcon, ui::kIconExcluded);
    EXPECT_TRUE(lists.Files().Rows().empty());
    EXPECT_TRUE(lists.Removal().Rows().empty());
    EXPECT_EQ(state.counters.traces, 0);
    EXPECT_EQ(state.counters.threatsFound, 0);
    EXPECT_EQ(state.counters.filesAndFolders, 6);
}

TEST_F(FileScanTest, DetailsBelongToTheirOwnRecordAndANamelessThreatIsNotListed) {
    PutProgram("one.exe");
    PutProgram("two.exe");
    PutProgram("three.exe");
    const std::string folder = "|" + kEvilFolder;
    ScanFileLines({"one.exe=One" + folder + "|Dialer", "two.exe=Two" + folder, "three.exe" + folder});

    ASSERT_EQ(lists.Removal().Rows().size(), 2u);
    EXPECT_EQ(lists.Removal().Rows()[0].SubItem(2), "Dialer");
    EXPECT_EQ(lists.Removal().Rows()[1].subItems.size(), 1u) << "details carried over";
    // Without "=" the file still gets its hidden row and a trace.
    EXPECT_EQ(lists.Files().Rows().size(), 3u);
    EXPECT_EQ(state.counters.traces, 3);
    EXPECT_EQ(Texts(lists.Found()), (std::vector<std::string>{"One - Found", "Two - Found"}));
}

TEST_F(FileScanTest, ProgressCountsEveryFileAndFolderRecord) {
    definitions.counts = {
        .cookies = 5, .executables = 5, .registry = 10, .filesAndFolders = 80, .total = 100};
    state.stagePrefix = "Scanning known Spyware/Adware: ";
    PutDefinitions(kFileDefinitionFile, {"a.exe=A|C:\\x", "", "b.exe=B|C:\\x"});
    PutDefinitions(kDirectoryDefinitionFile, {"Label\tOne=F|C:\\Gone", "no separator", "Empty=E||"});
    ScanFiles(run);
    ScanFolders(run);

    // Blank file lines count; folder lines without a folder are skipped uncounted.
    EXPECT_EQ(state.counters.filesAndFolders, 4);
    EXPECT_EQ(feedback.statuses, (std::vector<std::string>{
                                     "Scanning known Spyware/Adware: \r\na.exe",
                                     "Scanning known Spyware/Adware: \r\n",
                                     "Scanning known Spyware/Adware: \r\nb.exe",
                                     "Scanning known Spyware/Adware: \r\nLabelOne",
                                 }));
    EXPECT_EQ(feedback.stagePercents, (std::vector<double>{1.25, 2.5, 3.75, 5}));
    EXPECT_EQ(feedback.overallPercents, (std::vector<double>{21, 22, 23, 24}));
    EXPECT_EQ(feedback.pumps, 6);
}

TEST_F(FileScanTest, FoldersAreListedAndExcludedByContainment) {
    sim.files.PutFolder(kEvilFolder);
    sim.files.PutFolder("C:\\Program Files\\Kept");
    sim.files.PutFolder("C:\\Program Files\\Safe");
    // A folder holding a Microsoft-looking file is still a folder finding: folders have no company.
    PutProgram("ms.dll", "Microsoft Corporation");
    definitions.exclusions.Assign("C:\\PROGRAM FILES\\KEPT\\tool.exe|");
    definitions.safeList.Assign({"C:\\Program Files\\Safe\\"});
    ScanFolderLines({"Evil=Evil|[progfil]\\Evil|Browser hijacker", "Evil 2=Evil|[progfil]\\Evil",
                     "Kept=Kept|[progfil]\\Kept", "Safe=Safe|[progfil]\\Safe",
                     "Other=Other|[progfil]\\Evil|"});

    EXPECT_EQ(
        Texts(lists.Found()),
        (std::vector<std::string>{"Evil - Found", "EXCLUDED: C:\\Program Files\\Kept", "Other - Found"}));
    EXPECT_EQ(lists.Found().Rows()[0].smallIcon, ui::kIconFolder);
    ASSERT_EQ(lists.Removal().Rows().size(), 2u);
    EXPECT_EQ(lists.Removal().Rows()[0].subItems,
              (std::vector<std::string>{kEvilFolder, "Browser hijacker"}));
    EXPECT_EQ(lists.Removal().Rows()[0].smallIcon, ui::kIconFolder);
    EXPECT_EQ(lists.Removal().Rows()[1].subItems, std::vector<std::string>{kEvilFolder});
    EXPECT_EQ(Texts(lists.Files()), (std::vector<std::string>{kEvilFolder, kEvilFolder, kEvilFolder}));
    EXPECT_EQ(state.counters.traces, 3);
    EXPECT_EQ(state.counters.threatsFound, 2);
}

TEST_F(FileScanTest, StopIsSeenBeforeThePathIsTestedOnlyWhileAUserScanRuns) {
    PutProgram("a.exe");
    PutProgram("b.exe");
    sim.files.PutFolder(kEvilFolder + "\\sub");
    const std::string folder = "|" + kEvilFolder;
    feedback.onReport = [this] { state.stopRequested = true; };
    PutDefinitions(kDirectoryDefinitionFile, {"Sub=Sub|" + kEvilFolder + "\\sub"});
    ScanFileLines({"a.exe=A" + folder, "b.exe=B" + folder});
    ScanFolders(run);
    EXPECT_TRUE(lists.Found().Rows().empty()) << "stopped between the report and the test";
    EXPECT_EQ(state.counters.filesAndFolders, 1);
    EXPECT_EQ(feedback.pumps, 0);

    lists.Clear();
    feedback.userScan = false;
    ScanFileLines({"a.exe=A" + folder, "b.exe=B" + folder});
    ScanFolders(run);
    EXPECT_EQ(Texts(lists.Found()), (std::vector<std::string>{"A - Found", "B - Found", "Sub - Found"}));
}

TEST_F(FileScanTest, MissingDefinitionFilesEndTheStagesQuietly) {
    ScanFiles(run);
    ScanFolders(run);
    EXPECT_EQ(feedback.pumps, 0);
    EXPECT_EQ(state.counters.filesAndFolders, 0);
}

// A definition naming another machine, a device or a stream is never looked at; one spelling an existing
// file oddly is found and listed under the path the system opens.
TEST_F(FileScanTest, OnlyLocalPathsAreLookedAtAndFindingsCarryTheirCanonicalPath) {
    PutProgram("a.exe");
    sim.files.PutFolder("C:\\Program Files\\Evil\\Sub");
    ScanFileLines({"x.exe=Net|\\\\host\\share", "a.exe=Evil|C:/Program Files/./Evil.", "nul=Dev|C:\\Temp",
                   "a.exe=Stream|C:\\Program Files\\Evil\\a.exe:hidden"});
    ScanFolderLines(
        {"Share=Net|\\\\host\\share\\Evil|", "Sub=Evil Sub|C:\\Program Files\\Evil\\..\\Evil\\Sub\\|"});

    for (const std::string path : {"\\\\host\\share\\x.exe", "\\\\host\\share\\Evil"}) {
        for (const sim::FileOp op :
             {sim::FileOp::Find, sim::FileOp::GetAttributes, sim::FileOp::FolderExists}) {
            EXPECT_EQ(sim.files.Count(op, path), 0) << path;
        }
    }
    EXPECT_EQ(Texts(lists.Files()),
              (std::vector<std::string>{kEvilFolder + "\\a.exe", kEvilFolder + "\\Sub"}));
}

} // namespace
} // namespace grimsweep
