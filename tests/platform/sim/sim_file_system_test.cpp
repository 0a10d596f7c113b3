// The simulated file system stands in for Windows in every unit test, so it must refuse what Windows
// refuses.
#include "platform/sim/sim_file_system.h"

#include <gtest/gtest.h>

namespace grimsweep::sim {
namespace {

TEST(SimFileSystem, QueriesMatchExactNamesAndWildcardsIgnoringCase) {
    SimFileSystem files;
    files.PutFile("C:\\Data\\Evil.EXE", "x");
    files.PutFile("C:\\Data\\hidden.dll", "x", kAttrHidden);
    files.PutFolder("C:\\Data\\Sub");
    auto exact = files.FindEntries("c:\\data\\evil.exe");
    ASSERT_EQ(exact.size(), 1u);
    EXPECT_EQ(exact[0].name, "Evil.EXE");
    EXPECT_EQ(files.FindEntries("C:\\Data\\*.dll").size(), 1u);
    EXPECT_EQ(files.FindEntries("C:\\Data\\*").size(), 3u);
    EXPECT_EQ(files.FindEntries("C:\\Data\\e?il.exe").size(), 1u);
    EXPECT_TRUE(files.FindEntries("C:\\Data\\none.exe").empty());
    EXPECT_TRUE(files.FindEntries("C:\\Nowhere\\*").empty());
    EXPECT_EQ(files.FindEntries("C:\\Data\\Sub")[0].attributes & kAttrDirectory, kAttrDirectory);
}

TEST(SimFileSystem, RefusesWhatWindowsRefuses) {
    SimFileSystem files;
    files.PutFile("C:\\a\\locked.txt", "x");
    files.PutFile("C:\\a\\readonly.txt", "x", kAttrReadOnly);
    files.SetLocked("C:\\a\\locked.txt", true);
    EXPECT_FALSE(files.DeleteFile("C:\\a\\locked.txt"));
    EXPECT_FALSE(files.ReadFile("C:\\a\\locked.txt"));
    EXPECT_FALSE(files.DeleteFile("C:\\a\\readonly.txt"));
    EXPECT_FALSE(files.WriteFile("C:\\missing\\x.txt", "x"));
    EXPECT_FALSE(files.CreateFolder("C:\\x\\y"));
    EXPECT_FALSE(files.MoveFile("C:\\a\\readonly.txt", "C:\\a\\locked.txt", true));
    EXPECT_FALSE(files.CopyFile("C:\\a\\readonly.txt", "C:\\a\\locked.txt", false));

    files.SetLocked("C:\\a\\locked.txt", false);
    EXPECT_FALSE(files.MoveFile("C:\\a\\readonly.txt", "C:\\a\\locked.txt", false));
    EXPECT_TRUE(files.MoveFile("C:\\a\\readonly.txt", "C:\\a\\locked.txt", true));
    EXPECT_FALSE(files.Exists("C:\\a\\readonly.txt"));
    EXPECT_TRUE(files.DeleteFolder("C:\\a"));
    EXPECT_FALSE(files.Exists("C:\\a\\locked.txt"));
}

TEST(SimFileSystem, FolderCopyAndMoveCarryTheirContents) {
    SimFileSystem files;
    files.PutFile("C:\\src\\inner\\f.txt", "data");
    files.PutFolder("C:\\dst");
    EXPECT_TRUE(files.CopyFolder("C:\\src", "C:\\dst\\copy"));
    EXPECT_EQ(files.Contents("C:\\dst\\copy\\inner\\f.txt"), "data");
    EXPECT_FALSE(files.CopyFolder("C:\\src", "C:\\dst\\copy")); // target exists
    EXPECT_TRUE(files.MoveFile("C:\\src", "C:\\moved", false));
    EXPECT_EQ(files.Contents("C:\\moved\\inner\\f.txt"), "data");
    EXPECT_FALSE(files.Exists("C:\\src\\inner"));
}

// Names of other scripts, as the Wine test shows Windows compares them.
TEST(SimFileSystem, NamesOfEveryScriptCompareWithoutCase) {
    SimFileSystem files;
    files.PutFile("C:\\Daten\\B\xC3\x96SE.EXE", "x");          // BÖSE.EXE
    files.PutFile("C:\\\xD0\x97\xD0\x9B\xD0\x9E\\a.dll", "x"); // ЗЛО\a.dll
    const auto found = files.FindEntries("c:\\daten\\B\xC3\xB6se.exe");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].name, "B\xC3\x96SE.EXE");
    EXPECT_EQ(files.FindEntries("C:\\DATEN\\b?se.*").size(), 1u); // "?" is one letter of two bytes
    EXPECT_TRUE(files.FindEntries("C:\\DATEN\\b??se.*").empty());
    EXPECT_TRUE(files.Exists("c:\\\xD0\xB7\xD0\xBB\xD0\xBE\\A.DLL"));
    EXPECT_TRUE(files.FindEntries("C:\\Daten\\BOSE.EXE").empty());
    // As the real look-up: the final sigma, long s, Kelvin sign and capital sharp s stay themselves.
    files.PutFile("C:\\Daten\\\xCF\x82.txt", "x");
    files.PutFile("C:\\Daten\\\xE2\x84\xAA.txt", "x");
    EXPECT_TRUE(files.FindEntries("C:\\Daten\\\xCF\x83.txt").empty());
    EXPECT_TRUE(files.FindEntries("C:\\Daten\\k.txt").empty());
    EXPECT_EQ(files.FindEntries("C:\\DATEN\\\xCF\x82.TXT").size(), 1u);
}

TEST(SimFileSystem, AFileHeldOpenForReadingCanBeReadAndCopiedButNotDeleted) {
    SimFileSystem files;
    files.PutFile("C:\\run\\busy.exe", "MZ");
    files.SetHeldOpenForReading("c:\\RUN\\BUSY.EXE", true);
    EXPECT_EQ(files.ReadFile("C:\\run\\busy.exe").value_or(""), "MZ");
    EXPECT_TRUE(files.CopyFile("C:\\run\\busy.exe", "C:\\run\\copy.exe", true));
    EXPECT_FALSE(files.DeleteFile("C:\\run\\busy.exe"));
    EXPECT_FALSE(files.MoveFile("C:\\run\\busy.exe", "C:\\run\\moved.exe", false));
    EXPECT_FALSE(files.MoveFile("C:\\run", "C:\\moved", false)); // nor its folder
    EXPECT_FALSE(files.WriteFile("C:\\run\\busy.exe", "new"));
    EXPECT_FALSE(files.AppendFile("C:\\run\\busy.exe", "more"));
    files.SetHeldOpenForReading("C:\\run\\busy.exe", false);
    EXPECT_TRUE(files.DeleteFile("C:\\run\\busy.exe"));
}

TEST(SimFileSystem, FailuresThatPassAndCountsPerPath) {
    SimFileSystem files;
    files.PutFile("C:\\t\\f.txt", "x");
    files.FailNext(FileOp::Delete, "C:\\t\\f.txt", 2);
    EXPECT_FALSE(files.DeleteFile("C:\\t\\f.txt"));
    EXPECT_FALSE(files.DeleteFile("c:\\T\\F.TXT"));
    EXPECT_TRUE(files.Exists("C:\\t\\f.txt"));
    EXPECT_TRUE(files.DeleteFile("C:\\t\\f.txt"));
    EXPECT_EQ(files.Count(FileOp::Delete, "C:\\T\\f.txt"), 3);
    EXPECT_EQ(files.Count(FileOp::Read, "C:\\t\\f.txt"), 0);

    files.PutFile("C:\\t\\g.txt", "x");
    files.FailNext(FileOp::Move, "C:\\t\\target.txt", 1); // a failure of either path fails the move
    EXPECT_FALSE(files.MoveFile("C:\\t\\g.txt", "C:\\t\\target.txt", false));
    EXPECT_TRUE(files.MoveFile("C:\\t\\g.txt", "C:\\t\\target.txt", false));
    EXPECT_EQ(files.Count(FileOp::Move, "C:\\t\\g.txt"), 2);
    EXPECT_EQ(files.Count(FileOp::Move, "C:\\t\\target.txt"), 2);
}

// What the Wine test shows the Win32 folder delete does with a file it cannot delete.
TEST(SimFileSystem, FolderDeleteDeletesWhatItCan) {
    SimFileSystem files;
    files.PutFile("C:\\a\\readonly.txt", "x", kAttrReadOnly);
    files.PutFile("C:\\a\\hidden.txt", "x", kAttrHidden);
    files.PutFile("C:\\a\\sub\\inner.txt", "x");
    files.PutFile("C:\\a\\keep\\held.txt", "x", kAttrReadOnly);
    files.PutFile("C:\\a\\keep\\other.txt", "x");
    files.SetAttributes("C:\\a", kAttrHidden);
    files.SetHeldOpenForReading("C:\\a\\keep\\held.txt", true);

    EXPECT_FALSE(files.DeleteFolder("C:\\a"));
    EXPECT_FALSE(files.Exists("C:\\a\\readonly.txt"));
    EXPECT_FALSE(files.Exists("C:\\a\\hidden.txt"));
    EXPECT_FALSE(files.Exists("C:\\a\\sub"));
    EXPECT_FALSE(files.Exists("C:\\a\\keep\\other.txt"));
    EXPECT_TRUE(files.Exists("C:\\a\\keep\\held.txt"));
    // The flags were cleared on the way: the file lost read-only, the folders are plain again.
    EXPECT_EQ(files.GetAttributes("C:\\a\\keep\\held.txt").value_or(0) & kAttrReadOnly, 0u);
    EXPECT_EQ(files.GetAttributes("C:\\a").value_or(0), kAttrDirectory);

    files.SetHeldOpenForReading("C:\\a\\keep\\held.txt", false);
    EXPECT_TRUE(files.DeleteFolder("C:\\a"));
    EXPECT_FALSE(files.Exists("C:\\a"));
}

TEST(SimFileSystem, FolderCopyCopiesWhatItCan) {
    SimFileSystem files;
    files.PutFile("C:\\src\\one.txt", "1");
    files.PutFile("C:\\src\\locked.txt", "2");
    files.PutFile("C:\\src\\sub\\three.txt", "3");
    files.SetLocked("C:\\src\\locked.txt", true);
    EXPECT_FALSE(files.CopyFolder("C:\\src", "C:\\copy"));
    EXPECT_EQ(files.Contents("C:\\copy\\one.txt"), "1");
    EXPECT_EQ(files.Contents("C:\\copy\\sub\\three.txt"), "3");
    EXPECT_FALSE(files.Exists("C:\\copy\\locked.txt"));
}

// As the Wine test shows: shorter at the end, empty from the end on, nothing from a file that another
// program holds without sharing, a failing read or a missing file.
TEST(SimFileSystem, RangedReadsStopAtTheEndAndKeepTheReadFaults) {
    SimFileSystem files;
    files.PutFile("C:\\a\\file.bin", "0123456789");
    EXPECT_EQ(files.ReadRange("C:\\a\\file.bin", 2, 3).value_or("?"), "234");
    EXPECT_EQ(files.ReadRange("C:\\a\\file.bin", 8, 5).value_or("?"), "89");
    EXPECT_EQ(files.ReadRange("C:\\a\\file.bin", 10, 5).value_or("?"), "");
    EXPECT_EQ(files.ReadRange("C:\\a\\file.bin", 1u << 31, 5).value_or("?"), "");
    EXPECT_FALSE(files.ReadRange("C:\\a\\missing.bin", 0, 5).has_value());
    EXPECT_FALSE(files.ReadRange("C:\\a", 0, 5).has_value());
    files.SetHeldOpenForReading("C:\\a\\file.bin", true);
    EXPECT_EQ(files.ReadRange("C:\\a\\file.bin", 0, 2).value_or("?"), "01");
    files.SetLocked("C:\\a\\file.bin", true);
    EXPECT_FALSE(files.ReadRange("C:\\a\\file.bin", 0, 2).has_value());
    files.SetLocked("C:\\a\\file.bin", false);
    files.SetReadFails("C:\\a\\file.bin", true);
    EXPECT_FALSE(files.ReadRange("C:\\a\\file.bin", 0, 2).has_value());
    files.SetReadFails("C:\\a\\file.bin", false);
    files.FailNext(FileOp::Read, "C:\\a\\file.bin", 1);
    EXPECT_FALSE(files.ReadRange("C:\\a\\file.bin", 0, 2).has_value());
    EXPECT_TRUE(files.ReadRange("C:\\a\\file.bin", 0, 2).has_value());
}

TEST(SimFileSystemLinks, FolderWalksDeleteAndPassOverALinkWithoutReachingItsTarget) {
    SimFileSystem files;
    files.PutFolder("C:\\Users\\me\\Documents");
    files.PutFile("C:\\Users\\me\\Documents\\keep.txt", "mine");
    files.PutFolder("C:\\Evil");
    files.PutFile("C:\\Evil\\evil.dll", "x");
    files.PutFolderLink("C:\\Evil\\docs", "C:\\Users\\me\\Documents");
    // The system follows the link for paths below it.
    ASSERT_EQ(files.FindEntries("C:\\Evil\\docs\\*").size(), 1u);
    EXPECT_EQ(files.ReadFile("C:\\Evil\\docs\\keep.txt").value_or(""), "mine");
    const auto entries = files.FindEntries("C:\\Evil\\docs");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_NE(entries[0].attributes & kAttrReparsePoint, 0u);

    EXPECT_TRUE(files.CopyFolder("C:\\Evil", "C:\\Backup"));
    EXPECT_TRUE(files.GetAttributes("C:\\Backup\\evil.dll").has_value());
    EXPECT_FALSE(files.GetAttributes("C:\\Backup\\docs").has_value()) << "the link is not followed";

    EXPECT_TRUE(files.DeleteFolder("C:\\Evil"));
    EXPECT_FALSE(files.FolderExists("C:\\Evil"));
    EXPECT_EQ(files.ReadFile("C:\\Users\\me\\Documents\\keep.txt").value_or(""), "mine");
}

} // namespace
} // namespace grimsweep::sim
