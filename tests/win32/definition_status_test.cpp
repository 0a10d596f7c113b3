// The presence test and the installation of downloaded definitions on real files under Wine.
#include "definitions/definition_status.h"

#include <gtest/gtest.h>

#include "win32/temp_folder.h"

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_system.h"
#include "platform/win32/windows_api.h"

namespace grimsweep::win32 {
namespace {

class DefinitionStatusTest : public TempFolderTest {
protected:
    DefinitionStatusTest() : TempFolderTest("grimsweep-definitions-test") {}

    std::string Put(const std::string& name, const std::string& bytes, std::uint32_t attributes = 0) {
        const std::string path = folder + "\\" + name;
        EXPECT_TRUE(files.WriteFile(path, bytes));
        if (attributes) {
            EXPECT_TRUE(files.SetAttributes(path, attributes));
        }
        return path;
    }

    Win32System system;
};

TEST_F(DefinitionStatusTest, OnlyPlainFilesArePresent) {
    const std::string plain = Put("FileDefinition.dat", "x\r\n");
    Put("hidden.dat", "x", kAttrHidden);
    Put("system.dat", "x", kAttrSystem);
    Put("readonly.dat", "x", kAttrReadOnly);
    ASSERT_TRUE(files.CreateFolder(folder + "\\RegistryDefinition.dat"));

    EXPECT_TRUE(FileExists(files, plain));
    EXPECT_TRUE(FileExists(files, folder + "\\FILEDEFINITION.DAT"));
    EXPECT_TRUE(FileExists(files, folder + "\\readonly.dat"));
    EXPECT_FALSE(FileExists(files, folder + "\\hidden.dat"));
    EXPECT_FALSE(FileExists(files, folder + "\\system.dat"));
    EXPECT_FALSE(FileExists(files, folder + "\\RegistryDefinition.dat")); // a folder of that name
    EXPECT_FALSE(FileExists(files, folder + "\\*.dat"));
    EXPECT_FALSE(FileExists(files, folder + "\\FileDefinition.da?"));
    EXPECT_FALSE(FileExists(files, folder + "\\missing.dat"));
    EXPECT_FALSE(FileExists(files, folder + "\\no-such-folder\\x.dat"));
}

// Windows finds a name in another case of any letter, and FileExists must take the name it returns.
// (Simple case folding also merges the final sigma with sigma, the long s with s, the Kelvin sign with
// k and the capital sharp s with sharp s, which Wine's file-name lookup keeps apart; no name here
// relies on those.)
TEST_F(DefinitionStatusTest, NonAsciiNamesArePresentInAnyCase) {
    struct Pair {
        const char* stored;
        const char* asked;
    };
    const Pair pairs[] = {
        {"B\xC3\x96SE.EXE", "B\xC3\xB6se.exe"},                           // BÖSE / Böse
        {"\xD0\x97\xD0\x9B\xD0\x9E.dll", "\xD0\xB7\xD0\xBB\xD0\xBE.DLL"}, // ЗЛО / зло
        {"\xCE\xA3\xCE\x9F\xCE\xA6\xCE\x8A\xCE\x91.txt",
         "\xCF\x83\xCE\xBF\xCF\x86\xCE\xAF\xCE\xB1.TXT"}, // ΣΟΦΊΑ / σοφία
        {"\xC5\x81\xC3\x93"
         "D\xC5\xB9.bin",
         "\xC5\x82\xC3\xB3"
         "d\xC5\xBA.BIN"}, // ŁÓDŹ / łódź
    };
    for (const auto& pair : pairs) {
        Put(pair.stored, "x");
        const auto found = files.FindEntries(folder + "\\" + pair.asked);
        ASSERT_EQ(found.size(), 1u) << pair.stored << " asked as " << pair.asked;
        EXPECT_EQ(found[0].name, pair.stored);
        EXPECT_TRUE(FileExists(files, folder + "\\" + pair.asked))
            << pair.stored << " asked as " << pair.asked;
    }
    EXPECT_FALSE(FileExists(files, folder + "\\BOSE.EXE"));
}

TEST_F(DefinitionStatusTest, PendingDownloadsReplaceTheirFilesInOneStep) {
    Put("BlockedCookies.dat", "old cookies\r\n");
    Put("DLBlockedCookies.dat", "new cookies\r\n");
    Put("DLExeDefinition.dat", "new exe\r\n"); // no current file yet
    Put("RegistryDefinition.dat", "old registry\r\n");
    const std::string pendingRegistry = Put("DLRegistryDefinition.dat", "new registry\r\n");

    // The current registry file is held open by another program: its replacement must wait, losing nothing.
    HANDLE holder = CreateFileW(Widen(folder + "\\RegistryDefinition.dat").c_str(), GENERIC_READ,
                                FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_EQ(InstallPendingDefinitions(files, folder), 2);
    CloseHandle(holder);

    EXPECT_EQ(files.ReadFile(folder + "\\BlockedCookies.dat").value_or(""), "new cookies\r\n");
    EXPECT_EQ(files.ReadFile(folder + "\\ExeDefinition.dat").value_or(""), "new exe\r\n");
    EXPECT_FALSE(FileExists(files, folder + "\\DLBlockedCookies.dat"));
    EXPECT_EQ(files.ReadFile(folder + "\\RegistryDefinition.dat").value_or(""), "old registry\r\n");
    EXPECT_TRUE(FileExists(files, pendingRegistry));

    // At the next start the lock is gone and the download goes in.
    EXPECT_EQ(InstallPendingDefinitions(files, folder), 1);
    EXPECT_EQ(files.ReadFile(folder + "\\RegistryDefinition.dat").value_or(""), "new registry\r\n");
}

TEST_F(DefinitionStatusTest, DefinitionsDateRoundTripsOnDisk) {
    EXPECT_EQ(ReadDefinitionsDate(files, system, folder), std::string(kDefaultDefinitionsDate));
    EXPECT_TRUE(WriteDefinitionsDate(files, system, folder, "12/8/2026 4:05:06 PM"));
    EXPECT_EQ(ReadDefinitionsDate(files, system, folder), "12/8/2026 4:05:06 PM");
    EXPECT_EQ(files.FindEntries(folder + "\\*").size(), 1u);
}

// The four letters that simple folding merges but the look-up keeps apart; the simulated file system
// follows this.
TEST_F(DefinitionStatusTest, TheLookupKeepsFourFoldedLettersApart) {
    const std::pair<const char*, const char*> pairs[] = {
        {"\xCF\x82.txt", "\xCF\x83.txt"},     // final sigma / sigma
        {"\xC5\xBF.txt", "s.txt"},            // long s / s
        {"\xE2\x84\xAA.txt", "k.txt"},        // Kelvin sign / k
        {"\xE1\xBA\x9E.txt", "\xC3\x9F.txt"}, // capital sharp s / sharp s
    };
    for (const auto& [stored, asked] : pairs) {
        Put(stored, "x");
        EXPECT_TRUE(files.FindEntries(folder + "\\" + asked).empty()) << stored << " asked as " << asked;
        EXPECT_FALSE(FileExists(files, folder + "\\" + asked)) << stored << " asked as " << asked;
    }
}

} // namespace
} // namespace grimsweep::win32
