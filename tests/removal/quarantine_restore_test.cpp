#include "removal/quarantine_restore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/sim/sim_file_system.h"
#include "quarantine_fixture.h"

namespace grimsweep {
namespace {

using sim::FileOp;

class QuarantineRestoreTest : public QuarantineTest {
protected:
    RestoreOutcome Restore(const QuarantineItem& item, bool allowReplace = false) {
        return RestoreQuarantinedItem(context, item, [this, allowReplace](const std::string& target) {
            asked.push_back(target);
            return allowReplace;
        });
    }
    // Nothing of the failed restore is in the log or the index.
    void ExpectNothingRecorded(const std::string& logBefore, const std::string& indexBefore) {
        EXPECT_EQ(LogText(), logBefore);
        EXPECT_EQ(IndexText(), indexBefore);
        EXPECT_FALSE(LastItem().restored);
    }

    std::vector<std::string> asked;
};

TEST_F(QuarantineRestoreTest, FilesAndCookiesComeBackIntoDeletedFoldersOneLevelAtATime) {
    const std::string dll = "C:\\Apps\\Gloom\\bin\\gloom.dll";
    const std::string cookie = "C:\\Cookies\\Deep\\user@gloom.txt";
    sim.files.PutFile(dll, std::string("MZ\0\x01gloom", 8), kAttrArchive | kAttrReadOnly);
    sim.files.PutFile(cookie, "id=1");
    const QuarantineItem dllItem = Quarantine(dll);
    const QuarantineItem cookieItem = QuarantineCookie(cookie);
    ASSERT_EQ(cookieItem.kind, QuarantineKind::Cookie);
    ASSERT_TRUE(sim.files.DeleteFolder("C:\\Apps"));
    ASSERT_TRUE(sim.files.DeleteFolder("C:\\Cookies"));

    EXPECT_TRUE(Restore(dllItem).Restored());
    EXPECT_TRUE(Restore(cookieItem).Restored());
    EXPECT_EQ(sim.files.Contents(dll), std::string("MZ\0\x01gloom", 8));
    EXPECT_EQ(sim.files.GetAttributes(dll).value_or(0) & kAttrReadOnly, kAttrReadOnly)
        << "its own attributes";
    EXPECT_EQ(sim.files.Contents(cookie), "id=1");
    for (const char* level : {"C:\\Apps", "C:\\Apps\\Gloom", "C:\\Apps\\Gloom\\bin", "C:\\Cookies\\Deep"}) {
        EXPECT_EQ(sim.files.Count(FileOp::CreateFolder, level), 1) << level;
    }
    EXPECT_EQ(sim.files.Count(FileOp::CreateFolder, "C:"), 0);
    EXPECT_TRUE(sim.files.Exists(Backup(dllItem))) << "a restore copies; the backup stays";
    EXPECT_TRUE(asked.empty());
}

// Read-only, hidden and system flags are cleared for the delete (and kept when it fails), recorded in
// the index, and set again by the restore even when the quarantine's copy lost them.
TEST_F(QuarantineRestoreTest, ReadOnlyHiddenAndSystemFlagsGoForTheDeleteAndComeBackWithTheFile) {
    const std::uint32_t flags = kAttrReadOnly | kAttrHidden | kAttrSystem;
    const std::string stuck = "C:\\Cookies\\user@stuck.txt";
    sim.files.PutFile(stuck, "id=2", kAttrArchive | flags);
    sim.files.FailNext(FileOp::Delete, stuck, 100);
    routines.BackupAndDeleteCookie(stuck);
    EXPECT_EQ(sim.files.GetAttributes(stuck).value_or(0), kAttrArchive | flags) << "a failed delete";

    const std::string cookie = "C:\\Cookies\\user@gloom.txt";
    sim.files.PutFile(cookie, "id=1", kAttrArchive | flags);
    const QuarantineItem item = QuarantineCookie(cookie);
    EXPECT_FALSE(sim.files.Exists(cookie));
    EXPECT_EQ(item.attributes, flags);
    EXPECT_EQ(ParseQuarantineIndex(IndexLine(item)).at(0).attributes, flags);
    QuarantineItem plain = item;
    plain.attributes = kAttrArchive;
    const std::string plainLine = IndexLine(plain);
    EXPECT_EQ(std::count(plainLine.begin(), plainLine.end(), '\t'), 6)
        << "a plain file's line keeps the fields older versions read";

    ASSERT_TRUE(sim.files.SetAttributes(Backup(item), kAttrNormal));
    ASSERT_TRUE(Restore(item).Restored());
    EXPECT_EQ(sim.files.GetAttributes(cookie).value_or(0) & flags, flags);
    EXPECT_EQ(sim.files.Contents(cookie), "id=1");
}

TEST_F(QuarantineRestoreTest, ARestoreIsLoggedAsFourCrLfLinesAndMarkedInTheIndex) {
    const std::string path = "C:\\Apps\\tool.exe";
    sim.files.PutFile(path, "MZ");
    const QuarantineItem item = Quarantine(path);
    const std::string logBefore = LogText();
    sim.system.SetNow({2026, 12, 9, 3, 7, 9, 3, 0});

    ASSERT_TRUE(Restore(item).Restored());
    EXPECT_EQ(LogText(), logBefore + "12/9/2026 3:07:09 AM - Restored: tool.exe\r\n"
                                     " - Location: C:\\Apps\\tool.exe\r\n\r\n\r\n");
    const QuarantineItem marked = LastItem();
    EXPECT_TRUE(marked.restored);
    EXPECT_EQ(marked.restoredWhen, "12/9/2026 3:07:09 AM");
    EXPECT_EQ(marked.backupName, "tool.exe");
}

TEST_F(QuarantineRestoreTest, AFileThereIsReplacedOnlyWhenTheAnswerAllowsIt) {
    const std::string path = "C:\\Apps\\settings.ini";
    sim.files.PutFile(path, "quarantined");
    const QuarantineItem item = Quarantine(path);
    sim.files.PutFile(path, "the user's new file", kAttrReadOnly);
    const std::string logBefore = LogText();
    const std::string indexBefore = IndexText();

    EXPECT_EQ(Restore(item, false).status, RestoreStatus::TargetExists);
    EXPECT_EQ(asked, std::vector<std::string>{path});
    EXPECT_EQ(sim.files.Contents(path), "the user's new file");
    ExpectNothingRecorded(logBefore, indexBefore);

    EXPECT_TRUE(Restore(item, true).Restored()) << "a read-only file is replaced too once allowed";
    EXPECT_EQ(sim.files.Contents(path), "quarantined");
    EXPECT_EQ(sim.files.FindEntries("C:\\Apps\\*").size(), 1u) << "no temporary copy left beside it";
    EXPECT_TRUE(LastItem().restored);
}

TEST_F(QuarantineRestoreTest, TheSameBytesAlreadyBackNeedNoQuestion) {
    const std::string path = "C:\\Apps\\same.dat";
    sim.files.PutFile(path, "bytes");
    const QuarantineItem item = Quarantine(path);
    sim.files.PutFile(path, "bytes");
    EXPECT_TRUE(Restore(item).Restored());
    EXPECT_TRUE(asked.empty());
    // Asked again for the item now marked restored: still back, but not recorded twice.
    const std::string logOnce = LogText();
    EXPECT_TRUE(Restore(LastItem()).Restored());
    EXPECT_EQ(LogText(), logOnce);
}

TEST_F(QuarantineRestoreTest, AMissingBackupFailsWithoutTouchingAnything) {
    const std::string path = "C:\\Apps\\Gone\\gone.dll";
    sim.files.PutFile(path, "MZ");
    const QuarantineItem item = Quarantine(path);
    ASSERT_TRUE(sim.files.DeleteFile(Backup(item)));
    ASSERT_TRUE(sim.files.DeleteFolder("C:\\Apps"));
    const std::string logBefore = LogText();
    const std::string indexBefore = IndexText();

    EXPECT_EQ(Restore(item).status, RestoreStatus::MissingBackup);
    EXPECT_FALSE(sim.files.Exists(path));
    EXPECT_FALSE(sim.files.Exists("C:\\Apps\\Gone")) << "no folder made for nothing";
    ExpectNothingRecorded(logBefore, indexBefore);
    EXPECT_FALSE(RestoreStatusText(RestoreStatus::MissingBackup).empty());
}

TEST_F(QuarantineRestoreTest, AFailingCopyWritesNoRecordAndKeepsTheFileThere) {
    const std::string path = "C:\\Apps\\tool.exe";
    sim.files.PutFile(path, "MZ new");
    const QuarantineItem item = Quarantine(path);
    const std::string logBefore = LogText();
    const std::string indexBefore = IndexText();

    sim.files.SetCopyFails(Backup(item), true);
    EXPECT_EQ(Restore(item).status, RestoreStatus::CopyFailed);
    EXPECT_FALSE(sim.files.Exists(path));
    ExpectNothingRecorded(logBefore, indexBefore);
    sim.files.SetCopyFails(Backup(item), false);

    // A replacement whose last step fails leaves the file that was there as it was.
    sim.files.PutFile(path, "other");
    sim.files.SetMoveFails(path, true);
    EXPECT_EQ(Restore(item, true).status, RestoreStatus::CopyFailed);
    EXPECT_EQ(sim.files.Contents(path), "other");
    EXPECT_EQ(sim.files.FindEntries("C:\\Apps\\*").size(), 1u) << "the temporary copy is removed";
    ExpectNothingRecorded(logBefore, indexBefore);
}

TEST_F(QuarantineRestoreTest, NothingIsRestoredWhileTheLogCannotBeWritten) {
    const std::string path = "C:\\Apps\\tool.exe";
    sim.files.PutFile(path, "MZ");
    const QuarantineItem item = Quarantine(path);
    sim.files.SetWriteFails(QuarantineLogPath(context), true);
    EXPECT_EQ(Restore(item).status, RestoreStatus::NotRecordable);
    EXPECT_FALSE(sim.files.Exists(path));
    EXPECT_FALSE(LastItem().restored);
}

TEST_F(QuarantineRestoreTest, AFolderTreeComesBackAndAFolderThereAgainOnlyGetsWhatItLacks) {
    const std::string folder = "C:\\Apps\\Gloom";
    sim.files.PutFile(folder + "\\gloom.exe", "MZ");
    sim.files.PutFile(folder + "\\data\\a.dat", "a");
    sim.files.PutFile(folder + "\\data\\deep\\b.dat", "b");
    sim.files.PutFolder(folder + "\\empty");
    const QuarantineItem item = Quarantine(folder);
    ASSERT_EQ(item.kind, QuarantineKind::Folder);
    ASSERT_FALSE(sim.files.Exists(folder));
    ASSERT_TRUE(sim.files.DeleteFolder("C:\\Apps"));

    RestoreOutcome outcome = Restore(item);
    EXPECT_TRUE(outcome.Restored());
    EXPECT_EQ(outcome.keptEntries, 0u);
    EXPECT_EQ(sim.files.Contents(folder + "\\gloom.exe"), "MZ");
    EXPECT_EQ(sim.files.Contents(folder + "\\data\\deep\\b.dat"), "b");
    EXPECT_TRUE(sim.files.FolderExists(folder + "\\empty"));

    // The folder is there again, with one file changed and the rest gone.
    sim.files.PutFile(folder + "\\gloom.exe", "MZ patched");
    ASSERT_TRUE(sim.files.DeleteFolder(folder + "\\data"));
    outcome = Restore(item, true);
    EXPECT_TRUE(outcome.Restored());
    EXPECT_EQ(outcome.keptEntries, 1u);
    EXPECT_EQ(sim.files.Contents(folder + "\\gloom.exe"), "MZ patched") << "never overwritten";
    EXPECT_EQ(sim.files.Contents(folder + "\\data\\a.dat"), "a");
    EXPECT_EQ(sim.files.Contents(folder + "\\data\\deep\\b.dat"), "b");
    EXPECT_TRUE(asked.empty());
}

TEST_F(QuarantineRestoreTest, AFolderWhoseCopyFailsOrWhosePlaceHoldsAFileIsNotRestored) {
    const std::string folder = "C:\\Apps\\Gloom";
    sim.files.PutFile(folder + "\\gloom.exe", "MZ");
    sim.files.PutFile(folder + "\\readme.txt", "hi");
    const QuarantineItem item = Quarantine(folder);
    const std::string logBefore = LogText();
    const std::string indexBefore = IndexText();

    sim.files.SetCopyFails(Backup(item) + "\\gloom.exe", true);
    EXPECT_EQ(Restore(item).status, RestoreStatus::CopyFailed);
    ExpectNothingRecorded(logBefore, indexBefore);
    sim.files.SetCopyFails(Backup(item) + "\\gloom.exe", false);
    ASSERT_TRUE(sim.files.DeleteFolder(folder));

    sim.files.PutFile(folder, "a file of the folder's name");
    EXPECT_EQ(Restore(item, true).status, RestoreStatus::TargetExists);
    EXPECT_EQ(sim.files.Contents(folder), "a file of the folder's name");
    ExpectNothingRecorded(logBefore, indexBefore);
}

TEST_F(QuarantineRestoreTest, ARegistryValueThereIsNotImportedOverWithoutAsking) {
    sim.registry.PutString(RegistryRoot::CurrentUser, "Software\\Gloom", "Start", "new");
    const QuarantineItem item =
        QuarantineRegistry(QuarantineKind::Value, "HKEY_CURRENT_USER\\Software\\Gloom", "Start",
                           "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Gloom]\r\n"
                           "\"Start\"=\"old\"\r\n\r\n");
    const std::string logBefore = LogText();
    EXPECT_EQ(Restore(item).status, RestoreStatus::TargetExists);
    EXPECT_EQ(asked, std::vector<std::string>{"HKEY_CURRENT_USER\\Software\\Gloom\\Start"});
    RegistryValue value;
    sim.registry.QueryValue(RegistryRoot::CurrentUser, "Software\\Gloom", "Start", kKeyRead, value);
    EXPECT_EQ(value.text, "new");
    EXPECT_EQ(LogText(), logBefore);
}

TEST_F(QuarantineRestoreTest, RegistryBackupsThatCannotBeUsedFail) {
    const QuarantineItem missing =
        QuarantineRegistry(QuarantineKind::Key, "HKEY_CURRENT_USER\\Software\\Gloom", "", "REGEDIT4\r\n\r\n");
    ASSERT_TRUE(sim.files.DeleteFile(Backup(missing)));
    EXPECT_EQ(Restore(missing).status, RestoreStatus::MissingBackup);

    const QuarantineItem unknownRoot =
        QuarantineRegistry(QuarantineKind::Key, "HKEY_NOWHERE\\Software\\Gloom", "", "REGEDIT4\r\n\r\n");
    EXPECT_EQ(Restore(unknownRoot).status, RestoreStatus::BadOrigin);

    const std::string logBefore = LogText();
    const QuarantineItem garbage = QuarantineRegistry(
        QuarantineKind::Value, "HKEY_CURRENT_USER\\Software\\Gloom", "Run", "this is no registry file\r\n");
    EXPECT_EQ(Restore(garbage).status, RestoreStatus::ImportFailed);
    EXPECT_EQ(LogText(), logBefore);
    EXPECT_FALSE(LastItem().restored);

    // A backup that would write beside its own key imports nothing at all.
    const QuarantineItem elsewhere =
        QuarantineRegistry(QuarantineKind::Key, "HKEY_CURRENT_USER\\Software\\Gloom", "",
                           "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Gloom]\r\n\"a\"=\"1\"\r\n\r\n"
                           "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]"
                           "\r\n\"Evil\"=\"evil.exe\"\r\n");
    EXPECT_EQ(Restore(elsewhere).status, RestoreStatus::ImportFailed);
    EXPECT_EQ(sim.registry.OpenKey(RegistryRoot::CurrentUser, "Software\\Gloom", kKeyRead),
              kRegistryNotFound);
}

// The index is a file anyone can edit: a backup name must name a file directly inside the quarantine
// folder, and an origin must be a path in canonical form, or nothing is touched.
TEST_F(QuarantineRestoreTest, AnIndexLineNamingPlacesOutsideItsOwnIsRefused) {
    sim.files.PutFile("C:\\Apps\\one.exe", "1");
    const QuarantineItem good = Quarantine("C:\\Apps\\one.exe");
    sim.files.PutFile("C:\\Secrets\\key.txt", "secret");
    const struct {
        std::string backupName;
        std::string origin;
        RestoreStatus status;
    } cases[] = {
        {"..\\..\\..\\Secrets\\key.txt", "C:\\Apps\\one.exe", RestoreStatus::BadBackupName},
        {"C:\\Secrets\\key.txt", "C:\\Apps\\one.exe", RestoreStatus::BadBackupName},
        {"one.exe.", "C:\\Apps\\one.exe", RestoreStatus::BadBackupName},
        {good.backupName, "C:\\Apps\\..\\Windows\\one.exe", RestoreStatus::BadOrigin},
        {good.backupName, "\\\\server\\share\\one.exe", RestoreStatus::BadOrigin},
        {good.backupName, "Apps\\one.exe", RestoreStatus::BadOrigin},
        {good.backupName, "C:\\Apps\\one.exe:stream", RestoreStatus::BadOrigin},
    };
    for (const auto& row : cases) {
        QuarantineItem item = good;
        item.backupName = row.backupName;
        item.origin = row.origin;
        EXPECT_EQ(Restore(item).status, row.status) << row.backupName << " " << row.origin;
    }
    EXPECT_FALSE(sim.files.Exists("C:\\Apps\\one.exe"));
    EXPECT_FALSE(sim.files.Exists("C:\\Windows\\one.exe"));
    EXPECT_EQ(sim.files.Contents("C:\\Secrets\\key.txt"), "secret");
    EXPECT_TRUE(Restore(good).Restored());
}

TEST_F(QuarantineRestoreTest, AValueComesBackFromItsRegistryBackup) {
    sim.registry.CreateKey(RegistryRoot::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Run");
    const QuarantineItem item = QuarantineRegistry(
        QuarantineKind::Value, "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run",
        "Gloom",
        "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n"
        "\"Gloom\"=\"C:\\\\Apps\\\\gloom.exe\"\r\n\r\n");
    ASSERT_TRUE(Restore(item).Restored());
    RegistryValue value;
    EXPECT_EQ(sim.registry.QueryValue(RegistryRoot::CurrentUser,
                                      "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Gloom", kKeyRead,
                                      value),
              kRegistryOk);
    EXPECT_EQ(value.text, "C:\\Apps\\gloom.exe");
    EXPECT_TRUE(LastItem().restored);
    EXPECT_NE(LogText().find(
                  " - Restored: Gloom.reg\r\n - Location: "
                  "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\Gloom\r\n\r\n\r\n"),
              std::string::npos);
}

TEST_F(QuarantineRestoreTest, AKeyComesBackFromItsRegistryBackup) {
    const QuarantineItem item =
        QuarantineRegistry(QuarantineKind::Key, "HKEY_CURRENT_USER\\Software\\Gloom", "",
                           "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Gloom]\r\n"
                           "@=\"main\"\r\n\"Level\"=dword:00000003\r\n\r\n"
                           "[HKEY_CURRENT_USER\\Software\\Gloom\\Parts]\r\n"
                           "\"Part\"=\"one\"\r\n\r\n");
    ASSERT_TRUE(Restore(item).Restored());
    RegistryValue value;
    EXPECT_EQ(sim.registry.QueryValue(RegistryRoot::CurrentUser, "Software\\Gloom", "Level", kKeyRead, value),
              kRegistryOk);
    EXPECT_EQ(value.number, 3u);
    EXPECT_EQ(
        sim.registry.QueryValue(RegistryRoot::CurrentUser, "Software\\Gloom\\Parts", "Part", kKeyRead, value),
        kRegistryOk);
    EXPECT_EQ(value.text, "one");
    EXPECT_TRUE(LastItem().restored);
}

TEST(CreateFolderPathTest, MakesEachMissingLevelBelowTheDriveOrShare) {
    sim::SimFileSystem files;
    files.PutFolder("C:\\Users");
    EXPECT_TRUE(CreateFolderPath(files, "C:\\Users\\ann\\AppData\\Gloom"));
    EXPECT_TRUE(files.FolderExists("C:\\Users\\ann\\AppData\\Gloom"));
    EXPECT_EQ(files.Count(sim::FileOp::CreateFolder, "C:\\Users"), 0)
        << "a folder that is there is left alone";
    EXPECT_EQ(files.Count(sim::FileOp::CreateFolder, "C:\\Users\\ann"), 1);
    CreateFolderPath(files, "\\\\server\\share\\Gloom");
    EXPECT_EQ(files.Count(sim::FileOp::CreateFolder, "\\\\server"), 0);
    EXPECT_EQ(files.Count(sim::FileOp::CreateFolder, "\\\\server\\share"), 0);
    EXPECT_EQ(files.Count(sim::FileOp::CreateFolder, "\\\\server\\share\\Gloom"), 1);
    files.PutFile("C:\\Users\\file", "x");
    EXPECT_FALSE(CreateFolderPath(files, "C:\\Users\\file\\below"));
}

} // namespace
} // namespace grimsweep
