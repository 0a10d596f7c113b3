#include "definitions/exclusion_list.h"

#include <gtest/gtest.h>

#include <random>

#include "definitions/exclusion_commands.h"
#include "definitions_fixture.h"
#include "linear_reference.h"
#include "removal/quarantine_folder.h"

namespace grimsweep {
namespace {

class ExclusionListTest : public DefinitionsTest {
protected:
    const ExclusionList& Exclusions() const { return definitions.exclusions; }
    std::string ExclusionFile() const { return context.DataFile(kExclusionFile); }
};

TEST_F(ExclusionListTest, LoadKeepsNonBlankLinesAsReadAndTestsIgnoreCase) {
    sim.files.PutFile(ExclusionFile(), " Evil.exe \r\n\r\n   \r\nC:\\Tools\\spy.dll\rlast");
    LoadExclusions(context, definitions.exclusions);
    EXPECT_EQ(Exclusions().Form(), " Evil.exe |C:\\Tools\\spy.dll|last|");
    EXPECT_EQ(host.pumps, 5);
    EXPECT_TRUE(Exclusions().IsExcluded(" EVIL.EXE "));
    EXPECT_FALSE(Exclusions().IsExcluded("evil.exe")); // the stored line kept its blanks
    EXPECT_TRUE(Exclusions().IsExcluded("  c:\\tools\\SPY.DLL "));
    EXPECT_TRUE(Exclusions().IsExcluded("   ")); // the empty piece after the last "|"
    EXPECT_FALSE(Exclusions().IsExcluded("spy.dll"));
}

TEST_F(ExclusionListTest, BlankOrMissingFileExcludesNothing) {
    LoadExclusions(context, definitions.exclusions);
    EXPECT_FALSE(Exclusions().IsExcluded(""));
    EXPECT_FALSE(Exclusions().IsExcludedFolder(""));
    sim.files.PutFile(ExclusionFile(), "\r\n  \r\n");
    LoadExclusions(context, definitions.exclusions);
    EXPECT_EQ(Exclusions().Form(), "");
    EXPECT_FALSE(Exclusions().IsExcluded(""));
    EXPECT_FALSE(Exclusions().IsExcludedFolder("C:\\"));
}

TEST_F(ExclusionListTest, FoldersAreExcludedByEntriesThatContainThem) {
    sim.files.PutFile(ExclusionFile(), "C:\\Program Files\\Evil\\evil.exe\r\nother\r\n");
    LoadExclusions(context, definitions.exclusions);
    EXPECT_TRUE(Exclusions().IsExcludedFolder("c:\\program files\\evil"));
    EXPECT_FALSE(Exclusions().IsExcluded("c:\\program files\\evil"));
    EXPECT_FALSE(Exclusions().IsExcludedFolder("evil.exe|other")); // no piece holds the separator
    EXPECT_FALSE(Exclusions().IsExcludedFolder("C:\\Program Files\\Evil\\Other"));
}

TEST_F(ExclusionListTest, EntriesTypedInAnotherCaseOfAnyLetterExclude) {
    // The file is in the system code page: "ÜBEL.EXE" and "C:\Müll\x.dll" are Windows-1252 bytes there.
    sim.files.PutFile(ExclusionFile(), "\xDC"
                                       "BEL.EXE\r\nC:\\M\xFCll\\x.dll\r\n");
    LoadExclusions(context, definitions.exclusions);
    EXPECT_TRUE(Exclusions().IsExcluded("\xC3\xBC"
                                        "bel.exe"));
    EXPECT_FALSE(Exclusions().IsExcluded("ubel.exe"));
    EXPECT_TRUE(Exclusions().IsExcludedFolder("c:\\M\xC3\x9CLL"));
    EXPECT_FALSE(Exclusions().IsExcludedFolder("c:\\Mull"));
}

TEST_F(ExclusionListTest, AppendTrimsCreatesTheFileAndReloadsEvenWhenWritingFails) {
    EXPECT_TRUE(AppendExclusion(context, definitions.exclusions, "  spy.exe  "));
    EXPECT_EQ(sim.files.Contents(ExclusionFile()), "spy.exe\r\n");
    EXPECT_TRUE(Exclusions().IsExcluded("SPY.EXE"));

    sim.files.PutFile(ExclusionFile(), "spy.exe\r\nhand.exe\r\n"); // edited by hand meanwhile
    sim.files.SetWriteFails(ExclusionFile(), true);
    EXPECT_FALSE(AppendExclusion(context, definitions.exclusions, "more.exe"));
    EXPECT_TRUE(Exclusions().IsExcluded("hand.exe"));
    EXPECT_FALSE(Exclusions().IsExcluded("more.exe"));
}

TEST_F(ExclusionListTest, ExcludeCommandAppendsLocationThenTextOfTickedRows) {
    const std::vector<ExcludeRow> rows = {
        {"Cookie: tester@tracker.example[1].txt", "C:\\Cookies\\tester@tracker.example[1].txt", true},
        {"Evil Threat", "C:\\Evil\\evil.exe", false},
        {"Spy Threat", "HKEY_CURRENT_USER\\Software\\Spy", true},
    };
    host.Answer(MessageBoxAnswer::Yes);
    EXPECT_EQ(ExcludeSelectedRows(context, definitions.exclusions, rows, false), ExcludeOutcome::Excluded);
    EXPECT_EQ(sim.files.Contents(ExclusionFile()),
              "C:\\Cookies\\tester@tracker.example[1].txt\r\ntester@tracker.example[1].txt\r\n"
              "HKEY_CURRENT_USER\\Software\\Spy\r\nSpy Threat\r\n");
    ASSERT_EQ(host.Shown().size(), 1u);
    EXPECT_EQ(host.Shown()[0].title, "Really Exclude?");
    EXPECT_EQ(host.Shown()[0].buttons, MessageBoxButtons::YesNo);
    EXPECT_EQ(
        host.Shown()[0].text,
        "Are you sure you want to exclude the selected files?\r\n\r\nExcluded files will not show up as "
        "Adware/Spyware on future scans.\r\n\r\nYou can edit the list of excluded files through the "
        "Quarantine menu.");
    EXPECT_TRUE(Exclusions().IsExcluded("spy threat"));
}

TEST_F(ExclusionListTest, ExcludeCommandWithNothingToDoOrDeclined) {
    const std::vector<ExcludeRow> rows = {{"Evil", "C:\\evil.exe", true}};
    EXPECT_EQ(ExcludeSelectedRows(context, definitions.exclusions, {}, true),
              ExcludeOutcome::NothingToExclude);
    EXPECT_EQ(host.Shown().back().text, "Sorry, there are no entries to be excluded.");
    EXPECT_EQ(host.Shown().back().title, context.brand.programName);

    host.Answer(MessageBoxAnswer::No);
    EXPECT_EQ(ExcludeSelectedRows(context, definitions.exclusions, rows, false), ExcludeOutcome::Declined);
    host.Answer(MessageBoxAnswer::Yes);
    EXPECT_EQ(ExcludeSelectedRows(context, definitions.exclusions, {{"Evil", "C:\\evil.exe", false}}, false),
              ExcludeOutcome::Excluded);
    EXPECT_FALSE(sim.files.Exists(ExclusionFile()));
}

TEST_F(ExclusionListTest, ViewCommandsOpenTheFileOrTheQuarantineFolder) {
    ViewExclusions(context);
    ASSERT_EQ(host.Shown().size(), 1u);
    EXPECT_EQ(host.Shown()[0].text, "No exclusion file exists yet.");
    EXPECT_EQ(host.Shown()[0].title, "No Exclusion File");
    EXPECT_TRUE(sim.shell.commands.empty());

    AppendExclusion(context, definitions.exclusions, "x");
    ViewExclusions(context);
    EXPECT_EQ(sim.shell.commands.back(), "notepad " + ExclusionFile());

    // The Windows folder's explorer by its full path, both paths quoted; without the shell's Windows
    // folder, the folder above the system folder.
    const std::string quarantine = "\"" + context.dataFolder + "\\quarantine\"";
    ViewQuarantine(context);
    EXPECT_TRUE(sim.files.FolderExists(context.dataFolder + "\\quarantine"));
    EXPECT_EQ(sim.shell.commands.back(), "\"C:\\WINDOWS\\explorer.exe\" " + quarantine);
    sim.shell.folders.erase(36);
    sim.system.systemFolder = "D:\\Win Dir\\system32";
    ViewQuarantine(context);
    EXPECT_EQ(sim.shell.commands.back(), "\"D:\\Win Dir\\explorer.exe\" " + quarantine);
}

TEST(ExclusionListDifferential, HashedLookupAnswersLikeTheLinearWalk) {
    static const std::vector<std::string> kPieces = {
        "a",        "B",        " ",    "|",    "c:\\",         "Evil", "EVIL",     "\\x",
        "\xC3\x96", "\xC3\xB6", "\xC3", "\xB6", "\xE2\x84\xAA", "k",    "\xCF\x82", "\xCE\xA3"};
    std::mt19937 random(7);
    const auto text = [&](std::size_t maxLength) {
        std::string out;
        for (std::size_t i = random() % (maxLength + 1); i > 0; --i) {
            out += kPieces[random() % kPieces.size()];
        }
        return out;
    };
    for (int round = 0; round < 300; ++round) {
        std::string form;
        for (std::size_t i = random() % 5; i > 0; --i) {
            form += text(3) + "|";
        }
        ExclusionList list;
        list.Assign(form);
        for (int probe = 0; probe < 60; ++probe) {
            const std::string name = text(3);
            ASSERT_EQ(list.IsExcluded(name), reference::LinearIsExcluded(form, name))
                << form << " / " << name;
            ASSERT_EQ(list.IsExcludedFolder(name), reference::LinearIsExcludedFolder(form, name))
                << form << " / " << name;
        }
    }
}

} // namespace
} // namespace grimsweep
