#include "definitions/definition_status.h"

#include <gtest/gtest.h>

#include "definitions/definition_files.h"
#include "definitions_fixture.h"

namespace grimsweep {
namespace {

class DefinitionStatusTest : public DefinitionsTest {
protected:
    void PutAllFive() {
        for (const auto name : {kFileDefinitionFile, kRegistryDefinitionFile, kExeDefinitionFile,
                                kBlockedCookiesFile, kDirectoryDefinitionFile}) {
            sim.files.PutFile(context.DataFile(name), "");
        }
    }
};

TEST_F(DefinitionStatusTest, FileExistsMeansAPlainFileOfExactlyThatName) {
    const std::string folder = "C:\\Data";
    sim.files.PutFile(folder + "\\plain.dat", "x");
    sim.files.PutFile(folder + "\\readonly.dat", "x", kAttrReadOnly | kAttrArchive);
    sim.files.PutFile(folder + "\\hidden.dat", "x", kAttrHidden);
    sim.files.PutFile(folder + "\\system.dat", "x", kAttrSystem);
    sim.files.PutFolder(folder + "\\folder.dat");

    EXPECT_TRUE(FileExists(sim.files, folder + "\\plain.dat"));
    EXPECT_TRUE(FileExists(sim.files, "c:\\data\\PLAIN.DAT"));
    EXPECT_TRUE(FileExists(sim.files, folder + "\\readonly.dat"));
    EXPECT_FALSE(FileExists(sim.files, folder + "\\hidden.dat"));
    EXPECT_FALSE(FileExists(sim.files, folder + "\\system.dat"));
    EXPECT_FALSE(FileExists(sim.files, folder + "\\folder.dat"));
    EXPECT_FALSE(FileExists(sim.files, folder + "\\*.dat"));
    EXPECT_FALSE(FileExists(sim.files, folder + "\\plain.da?"));
    EXPECT_FALSE(FileExists(sim.files, folder + "\\missing.dat"));
    EXPECT_FALSE(FileExists(sim.files, ""));
    EXPECT_FALSE(FileExists(sim.files, folder));
}

TEST_F(DefinitionStatusTest, FileExistsIgnoresTheCaseOfEveryLetter) {
    sim.files.PutFile("C:\\Daten\\B\xC3\x96SE.EXE", "x");          // BÖSE.EXE
    sim.files.PutFile("C:\\\xCE\xA3\xCE\x9F\xCE\xA6\\x.dll", "x"); // ΣΟΦ\x.dll
    EXPECT_TRUE(FileExists(sim.files, "C:\\Daten\\B\xC3\xB6se.exe"));
    EXPECT_TRUE(FileExists(sim.files, "c:\\\xCF\x83\xCE\xBF\xCF\x86\\X.DLL"));
    EXPECT_FALSE(FileExists(sim.files, "C:\\Daten\\Bose.exe"));
    EXPECT_FALSE(FileExists(sim.files, "C:\\Daten\\B\xC3se.exe")); // a broken byte is no letter
}

// Another user's first start: an empty data folder gets the shipped definitions; one holding any of them
// (Live Update's newer ones) is left as it is.
TEST_F(DefinitionStatusTest, AnEmptyDataFolderIsFilledFromTheShippedDefinitions) {
    const std::string shipped = "C:\\Program Files\\Grimsweep\\Definitions";
    for (const auto& file : kDefinitionFiles) {
        sim.files.PutFile(shipped + "\\" + std::string(file.name), "shipped " + std::string(file.name));
    }
    EXPECT_EQ(FillFromSharedDefinitions(sim.files, context.dataFolder, shipped), 6);
    for (const auto& file : kDefinitionFiles) {
        EXPECT_EQ(sim.files.Contents(context.DataFile(file.name)), "shipped " + std::string(file.name));
    }
    for (const auto& file : kDefinitionFiles) {
        sim.files.DeleteFile(context.DataFile(file.name));
    }
    sim.files.PutFile(context.DataFile(kSafetyFile), "newer");
    EXPECT_EQ(FillFromSharedDefinitions(sim.files, context.dataFolder, shipped), 0);
    EXPECT_EQ(sim.files.Contents(context.DataFile(kSafetyFile)), "newer");
    EXPECT_FALSE(sim.files.Exists(context.DataFile(kFileDefinitionFile)));
}

TEST_F(DefinitionStatusTest, PendingCopiesReplaceTheirFilesInOneStep) {
    sim.files.PutFile(context.DataFile("BlockedCookies.dat"), "old cookies");
    sim.files.PutFile(context.DataFile("DLBlockedCookies.dat"), "new cookies");
    sim.files.PutFile(context.DataFile("DLRegistryDefinition.dat"), "new registry"); // no current file
    sim.files.PutFile(context.DataFile("DLDirectoryDefinition.dat"), "never installed");

    EXPECT_EQ(InstallPendingDefinitions(sim.files, context.dataFolder), 2);
    EXPECT_EQ(sim.files.Contents(context.DataFile("BlockedCookies.dat")), "new cookies");
    EXPECT_EQ(sim.files.Contents(context.DataFile("RegistryDefinition.dat")), "new registry");
    EXPECT_FALSE(sim.files.Exists(context.DataFile("DLBlockedCookies.dat")));
    EXPECT_TRUE(sim.files.Exists(context.DataFile("DLDirectoryDefinition.dat")));
    EXPECT_FALSE(sim.files.Exists(context.DataFile("DirectoryDefinition.dat")));
}

TEST_F(DefinitionStatusTest, AFailedInstallKeepsTheOldFileAndTheOthersStillInstall) {
    const std::string current = context.DataFile("FileDefinition.dat");
    sim.files.PutFile(current, "old files");
    sim.files.PutFile(context.DataFile("DLFileDefinition.dat"), "new files");
    sim.files.PutFile(context.DataFile("DLExeDefinition.dat"), "new exe");
    sim.files.SetMoveFails(current, true);

    EXPECT_EQ(InstallPendingDefinitions(sim.files, context.dataFolder), 1);
    EXPECT_EQ(sim.files.Contents(current), "old files");
    EXPECT_EQ(sim.files.Contents(context.DataFile("DLFileDefinition.dat")), "new files");
    EXPECT_EQ(sim.files.Contents(context.DataFile("ExeDefinition.dat")), "new exe");

    // A locked or read-only current file is kept as well, and so is its pending copy.
    sim.files.SetMoveFails(current, false);
    sim.files.SetLocked(current, true);
    EXPECT_EQ(InstallPendingDefinitions(sim.files, context.dataFolder), 0);
    EXPECT_EQ(sim.files.Contents(current), "old files");
    sim.files.SetLocked(current, false);
    sim.files.SetAttributes(current, kAttrReadOnly);
    EXPECT_EQ(InstallPendingDefinitions(sim.files, context.dataFolder), 0);
    EXPECT_EQ(sim.files.Contents(current), "old files");
}

TEST_F(DefinitionStatusTest, CountsIncludeBlankLinesAndMissingFilesCountZero) {
    sim.files.PutFile(context.DataFile("BlockedCookies.dat"), "a\r\n\r\nb\r\n");
    sim.files.PutFile(context.DataFile("ExeDefinition.dat"), "a\r\nb"); // no line end at the end
    sim.files.PutFile(context.DataFile("FileDefinition.dat"), "");
    sim.files.PutFile(context.DataFile("DirectoryDefinition.dat"), "a\r\n");
    sim.files.PutFile(context.DataFile("RegistryDefinition.dat"), "a\r\n", kAttrHidden); // counts as absent
    sim.files.PutFile(context.DataFile("Safety.dat"), "a\r\nb\r\n");                     // not counted

    const auto counts = CountDefinitions(sim.files, context.dataFolder);
    EXPECT_EQ(counts.cookies, 3);
    EXPECT_EQ(counts.executables, 2);
    EXPECT_EQ(counts.registry, 0);
    EXPECT_EQ(counts.filesAndFolders, 1);
    EXPECT_EQ(counts.total, 6);
}

TEST_F(DefinitionStatusTest, PresenceStopsAtTheFirstMissingFile) {
    std::string caption = "3/16/2006 12:00:00 AM PST";
    PutAllFive();
    EXPECT_TRUE(DefinitionFilesPresent(context, caption)); // empty files are present
    EXPECT_EQ(caption, "3/16/2006 12:00:00 AM PST");

    sim.files.DeleteFile(context.DataFile("FileDefinition.dat"));
    sim.files.DeleteFile(context.DataFile("BlockedCookies.dat"));
    EXPECT_FALSE(DefinitionFilesPresent(context, caption));
    EXPECT_EQ(caption, "Files Missing, Run Live Update");

    PutAllFive();
    sim.files.SetAttributes(context.DataFile("DirectoryDefinition.dat"), kAttrHidden);
    EXPECT_FALSE(DefinitionFilesPresent(context, caption));
}

TEST_F(DefinitionStatusTest, DateReadsTheFirstLineAndIsReplacedInOneStep) {
    const std::string path = context.DataFile("date.dat");
    EXPECT_EQ(ReadDefinitionsDate(sim.files, sim.system, context.dataFolder), "3/16/2006 12:00:00 AM");

    EXPECT_TRUE(WriteDefinitionsDate(sim.files, sim.system, context.dataFolder, "2024-05-01 10:20:30"));
    EXPECT_EQ(sim.files.Contents(path), "2024-05-01 10:20:30\r\n");
    EXPECT_EQ(ReadDefinitionsDate(sim.files, sim.system, context.dataFolder), "2024-05-01 10:20:30");

    sim.files.SetMoveFails(path, true);
    EXPECT_FALSE(WriteDefinitionsDate(sim.files, sim.system, context.dataFolder, "2025-01-01 00:00:00"));
    EXPECT_EQ(ReadDefinitionsDate(sim.files, sim.system, context.dataFolder), "2024-05-01 10:20:30");
    EXPECT_EQ(sim.files.FindEntries(context.dataFolder + "\\*").size(), 1u); // no temporary file left

    sim.files.PutFile(path, "first\r\nsecond\r\n");
    EXPECT_EQ(ReadDefinitionsDate(sim.files, sim.system, context.dataFolder), "first");
    sim.files.PutFile(path, "");
    EXPECT_EQ(ReadDefinitionsDate(sim.files, sim.system, context.dataFolder), "3/16/2006 12:00:00 AM");
}

} // namespace
} // namespace grimsweep
