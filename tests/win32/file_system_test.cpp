// Files on the real file system under Wine: attributes, locked files, one-step replacement, drives.
#include "platform/win32/win32_file_system.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <utility>
#include <vector>

#include "win32/helper_programs.h"
#include "win32/temp_folder.h"

#include "platform/text_files.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_system.h"
#include "platform/win32/windows_api.h"

namespace grimsweep::win32 {
namespace {

class FileSystemTest : public TempFolderTest {
protected:
    FileSystemTest() : TempFolderTest("grimsweep-files-test") {}
};

TEST_F(FileSystemTest, AttributesAreKeptAndQueriesShowThem) {
    const std::string hidden = folder + "\\hidden.dll";
    ASSERT_TRUE(files.WriteFile(hidden, "x"));
    ASSERT_TRUE(files.SetAttributes(hidden, kAttrHidden | kAttrSystem));
    const auto entries = files.FindEntries(hidden);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, "hidden.dll");
    EXPECT_EQ(entries[0].attributes & (kAttrHidden | kAttrSystem), kAttrHidden | kAttrSystem);
    ASSERT_TRUE(files.CreateFolder(folder + "\\sub"));
    EXPECT_EQ(files.FindEntries(folder + "\\*").size(), 2u);
    EXPECT_TRUE(files.FolderExists(folder + "\\sub"));
    EXPECT_FALSE(files.FolderExists(hidden));
    EXPECT_TRUE(files.FindEntries(folder + "\\nothing.*").empty());
}

TEST_F(FileSystemTest, AFileHeldOpenCannotBeDeletedOrReplaced) {
    const std::string path = folder + "\\locked.exe";
    ASSERT_TRUE(files.WriteFile(path, "old"));
    HANDLE holder =
        CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(files.DeleteFile(path));
    EXPECT_FALSE(ReplaceFileContents(files, path, "new"));
    EXPECT_EQ(files.FindEntries(folder + "\\*").size(), 1u); // no temporary file left behind
    CloseHandle(holder);
    EXPECT_EQ(files.ReadFile(path).value_or(""), "old");
    EXPECT_TRUE(ReplaceFileContents(files, path, "new"));
    EXPECT_EQ(files.ReadFile(path).value_or(""), "new");
    EXPECT_TRUE(files.DeleteFile(path));
}

TEST_F(FileSystemTest, FoldersCopyAndDeleteWithReadOnlyContents) {
    ASSERT_TRUE(files.CreateFolder(folder + "\\a"));
    ASSERT_TRUE(files.WriteFile(folder + "\\a\\one.txt", "1"));
    ASSERT_TRUE(files.SetAttributes(folder + "\\a\\one.txt", kAttrReadOnly));
    ASSERT_TRUE(files.CopyFolder(folder + "\\a", folder + "\\b"));
    EXPECT_EQ(files.ReadFile(folder + "\\b\\one.txt").value_or(""), "1");
    EXPECT_FALSE(files.DeleteFile(folder + "\\a\\one.txt")); // read-only
    EXPECT_TRUE(files.DeleteFolder(folder + "\\a"));
    EXPECT_FALSE(files.FolderExists(folder + "\\a"));
    EXPECT_TRUE(files.AppendFile(folder + "\\log.txt", "a\r\n"));
    EXPECT_TRUE(files.AppendFile(folder + "\\log.txt", "b\r\n"));
    EXPECT_EQ(files.ReadFile(folder + "\\log.txt").value_or(""), "a\r\nb\r\n");
}

// Another program holds the file open for reading and shares reading only (no FILE_SHARE_DELETE).
TEST_F(FileSystemTest, AFileHeldOpenForReadingIsReadAndCopiedButNotDeleted) {
    const std::string path = folder + "\\busy.exe";
    ASSERT_TRUE(files.WriteFile(path, "MZ"));
    HANDLE holder =
        CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_EQ(files.ReadFile(path).value_or(""), "MZ");
    EXPECT_TRUE(files.CopyFile(path, folder + "\\copy.exe", true));
    EXPECT_FALSE(files.DeleteFile(path));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_FALSE(files.MoveFile(path, folder + "\\moved.exe", false));
    EXPECT_FALSE(files.WriteFile(path, "new"));
    EXPECT_FALSE(files.AppendFile(path, "more"));
    CloseHandle(holder);
    EXPECT_TRUE(files.DeleteFile(path));
}

// What the folder delete does with a file it cannot delete; the simulated one does the same.
TEST_F(FileSystemTest, FolderDeleteDeletesWhatItCan) {
    const std::string a = folder + "\\a";
    ASSERT_TRUE(files.CreateFolder(a));
    ASSERT_TRUE(files.CreateFolder(a + "\\sub"));
    ASSERT_TRUE(files.CreateFolder(a + "\\keep"));
    for (const char* name :
         {"\\readonly.txt", "\\hidden.txt", "\\sub\\inner.txt", "\\keep\\held.txt", "\\keep\\other.txt"}) {
        ASSERT_TRUE(files.WriteFile(a + name, "x"));
    }
    ASSERT_TRUE(files.SetAttributes(a + "\\readonly.txt", kAttrReadOnly));
    ASSERT_TRUE(files.SetAttributes(a + "\\hidden.txt", kAttrHidden));
    ASSERT_TRUE(files.SetAttributes(a + "\\keep\\held.txt", kAttrReadOnly));
    ASSERT_TRUE(files.SetAttributes(a, kAttrHidden));
    HANDLE holder = CreateFileW(Widen(a + "\\keep\\held.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);

    EXPECT_FALSE(files.DeleteFolder(a));
    EXPECT_FALSE(files.GetAttributes(a + "\\readonly.txt"));
    EXPECT_FALSE(files.GetAttributes(a + "\\hidden.txt"));
    EXPECT_FALSE(files.GetAttributes(a + "\\sub"));
    EXPECT_FALSE(files.GetAttributes(a + "\\keep\\other.txt"));
    EXPECT_TRUE(files.GetAttributes(a + "\\keep\\held.txt"));
    EXPECT_EQ(files.GetAttributes(a + "\\keep\\held.txt").value_or(0) & kAttrReadOnly, 0u);
    EXPECT_EQ(files.GetAttributes(a).value_or(0) & (kAttrHidden | kAttrDirectory), kAttrDirectory);

    CloseHandle(holder);
    EXPECT_TRUE(files.DeleteFolder(a));
    EXPECT_FALSE(files.FolderExists(a));
}

TEST_F(FileSystemTest, DrivesIncludeTheSystemDriveAndOnlyItsReadinessIsAsked) {
    bool sawC = false;
    for (const auto& drive : files.ListDrives()) {
        if (drive.letter == "C") {
            sawC = true;
            EXPECT_EQ(drive.type, DriveType::Fixed);
        }
    }
    EXPECT_TRUE(sawC);
    EXPECT_TRUE(files.IsDriveReady("C"));
    EXPECT_TRUE(files.IsDriveReady("c"));
    // A letter with no drive behind it is not ready.
    const DWORD letters = GetLogicalDrives();
    for (char letter = 'Z'; letter > 'C'; --letter) {
        if ((letters & (1u << (letter - 'A'))) == 0) {
            EXPECT_FALSE(files.IsDriveReady(std::string(1, letter))) << letter;
            break;
        }
    }
}

// A ranged read shares everything, so a file another program is writing is still read; it is shorter at
// the end of the file and empty past it.
TEST_F(FileSystemTest, RangedReadsSeeFilesOthersWriteAndStopAtTheEnd) {
    const std::string path = folder + "\\growing.log";
    ASSERT_TRUE(files.WriteFile(path, "0123456789"));
    HANDLE writer = CreateFileW(Widen(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    EXPECT_EQ(files.ReadRange(path, 2, 3).value_or("?"), "234");
    EXPECT_EQ(files.ReadRange(path, 8, 5).value_or("?"), "89");
    EXPECT_EQ(files.ReadRange(path, 10, 5).value_or("?"), "");
    EXPECT_EQ(files.ReadRange(path, 1u << 31, 5).value_or("?"), "");
    CloseHandle(writer);
    // Held without any sharing, the file cannot be read at all.
    HANDLE owner = CreateFileW(Widen(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(owner, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(files.ReadRange(path, 0, 5).has_value());
    CloseHandle(owner);
    EXPECT_FALSE(files.ReadRange(folder + "\\missing.bin", 0, 5).has_value());
    EXPECT_FALSE(files.ReadRange(folder, 0, 5).has_value());
}

// A pipe or a device opens like a file, but a read from it can wait for ever: neither is read.
TEST_F(FileSystemTest, PipesAndDevicesAreNotRead) {
    const std::wstring pipe = L"\\\\.\\pipe\\grimsweep-files-test";
    // Listening ends for the check that the pipe opens and for each of the two reads.
    std::vector<HANDLE> servers;
    const auto closeServers = [&] {
        for (HANDLE server : servers) {
            CloseHandle(server);
        }
        servers.clear();
    };
    for (int i = 0; i < 3; ++i) {
        HANDLE server = CreateNamedPipeW(pipe.c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE | PIPE_WAIT,
                                         PIPE_UNLIMITED_INSTANCES, 512, 512, 0, nullptr);
        if (server != INVALID_HANDLE_VALUE) {
            servers.push_back(server);
        }
    }
    HANDLE probe = CreateFileW(pipe.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (servers.size() != 3 || probe == INVALID_HANDLE_VALUE) {
        closeServers();
        FAIL() << "the pipe could not be made and opened";
    }
    CloseHandle(probe);

    for (const std::string& path :
         {Narrow(pipe), std::string("\\\\.\\NUL"), std::string("C:\\windows\\nul")}) {
        auto reads = std::async(std::launch::async, [&] {
            return std::pair(files.ReadFile(path), files.ReadRange(path, 0, 16));
        });
        if (reads.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
            ADD_FAILURE() << path << " keeps a read waiting";
            closeServers(); // a waiting read from the pipe ends when its server end goes
        }
        const auto [whole, range] = reads.get();
        EXPECT_FALSE(whole.has_value()) << path;
        EXPECT_FALSE(range.has_value()) << path;
    }
    closeServers();
}

// A folder that holds a link to another folder: deleting or copying the folder handles the link itself
// and never reaches what it points to.
TEST_F(FileSystemTest, FolderWalksNeverFollowALinkToAnotherFolder) {
    const std::string target = folder + "\\precious";
    ASSERT_TRUE(files.CreateFolder(target));
    ASSERT_TRUE(files.WriteFile(target + "\\keep.txt", "mine"));
    const std::string listed = folder + "\\listed";
    ASSERT_TRUE(files.CreateFolder(listed));
    ASSERT_TRUE(files.WriteFile(listed + "\\evil.dll", "x"));
    const std::string link = listed + "\\documents";
    CreateSymbolicLinkW(Widen(link).c_str(), Widen(target).c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY);
    if (!files.GetAttributes(link)) {
        // Wine 8 answers success and makes no link; the simulated machine's test covers the walk.
        GTEST_SKIP() << "this system made no symbolic link";
    }
    bool sawLink = false;
    for (const auto& entry : files.FindEntries(listed + "\\*")) {
        if (entry.name == "documents") {
            sawLink = true;
            EXPECT_NE(entry.attributes & kAttrReparsePoint, 0u) << "the link shows as a reparse point";
        }
    }
    EXPECT_TRUE(sawLink);

    EXPECT_TRUE(files.CopyFolder(listed, folder + "\\copy"));
    EXPECT_TRUE(files.FolderExists(folder + "\\copy"));
    EXPECT_FALSE(files.GetAttributes(folder + "\\copy\\documents\\keep.txt")) << "the link was not followed";

    EXPECT_TRUE(files.DeleteFolder(listed));
    EXPECT_FALSE(files.GetAttributes(listed));
    EXPECT_EQ(files.ReadFile(target + "\\keep.txt").value_or(""), "mine") << "the link's target is untouched";
}

// Another program (grimsweep_file_holder) holds the file: it stays, with its folder, until that program ends.
TEST_F(FileSystemTest, AFileAnotherProgramHoldsStaysUntilItEnds) {
    const std::string sub = folder + "\\held";
    const std::string path = sub + "\\spy.dll";
    ASSERT_TRUE(files.CreateFolder(sub));
    ASSERT_TRUE(files.WriteFile(path, "MZ held"));
    HelperProcess holder("\"" + BesideTestProgram(GRIMSWEEP_FILE_HOLDER_NAME) + "\" \"" + path + "\"");
    ASSERT_TRUE(holder.Started());
    ASSERT_TRUE(WaitUntilHeld(holder, path));

    EXPECT_FALSE(files.DeleteFile(path));
    EXPECT_FALSE(files.DeleteFolder(sub));
    EXPECT_TRUE(files.CopyFile(path, folder + "\\copy.dll", true));
    EXPECT_EQ(files.ReadFile(folder + "\\copy.dll").value_or(""), "MZ held");
    EXPECT_EQ(files.ReadFile(path).value_or(""), "MZ held");
    EXPECT_TRUE(files.FolderExists(sub));

    holder.Stop();
    EXPECT_TRUE(files.DeleteFile(path));
    EXPECT_TRUE(files.DeleteFolder(sub));
    EXPECT_FALSE(files.FolderExists(sub));
}

} // namespace
} // namespace grimsweep::win32
