// Restoring from the quarantine on the real file system under Wine: a file backed up and deleted comes
// back byte for byte into folders made again, a read-only file there is replaced in one step only when
// allowed, and a folder tree comes back with only the entries that are missing.
#include "removal/quarantine_restore.h"

#include <gtest/gtest.h>

#include "win32/temp_folder.h"

#include "core/context.h"
#include "platform/win32/win32_machine.h"
#include "removal/quarantine_index.h"
#include "removal/quarantine_log.h"
#include "removal/quarantine_store.h"
#include "ui/headless_host.h"

namespace grimsweep::win32 {
namespace {

class QuarantineRestoreTest : public TempFolderTest {
protected:
    QuarantineRestoreTest() : TempFolderTest("grimsweep-restore-test"), context(machine.View(), host) {}

    void SetUp() override {
        TempFolderTest::SetUp();
        context.dataFolder = folder + "\\data";
        ASSERT_TRUE(files.CreateFolder(context.dataFolder));
        ASSERT_TRUE(store.EnsureFolder());
    }

    // Backs the file up as a removal does, with its index line, then deletes it.
    QuarantineItem Quarantine(const std::string& path) {
        QuarantineItem item;
        item.kind = QuarantineKind::File;
        item.backupName = store.BackupFile(path).value_or("");
        item.origin = path;
        item.when = "12/8/2026 9:04:05 PM";
        EXPECT_FALSE(item.backupName.empty());
        EXPECT_TRUE(AppendQuarantineItem(context, item));
        files.SetAttributes(path, kAttrNormal);
        EXPECT_TRUE(files.DeleteFile(path));
        return item;
    }

    // Every byte value, over more than one compare piece.
    static std::string Bytes() {
        std::string bytes;
        for (int i = 0; bytes.size() < (3u << 20) / 2; ++i) {
            bytes += static_cast<char>(i * 7 % 256);
        }
        return bytes;
    }

    Win32Machine machine;
    HeadlessHost host;
    Context context;
    QuarantineStore store{context};
};

TEST_F(QuarantineRestoreTest, AFileComesBackByteForByteIntoItsRecreatedFolder) {
    const std::string apps = folder + "\\Apps";
    const std::string path = apps + "\\Gloom\\bin\\gloom.dll";
    ASSERT_TRUE(files.CreateFolder(apps));
    ASSERT_TRUE(files.CreateFolder(apps + "\\Gloom"));
    ASSERT_TRUE(files.CreateFolder(apps + "\\Gloom\\bin"));
    const std::string bytes = Bytes();
    ASSERT_TRUE(files.WriteFile(path, bytes));
    const QuarantineItem item = Quarantine(path);
    ASSERT_TRUE(files.DeleteFolder(apps));

    const RestoreOutcome outcome = RestoreQuarantinedItem(context, item, nullptr);
    ASSERT_TRUE(outcome.Restored()) << RestoreStatusText(outcome.status);
    EXPECT_TRUE(files.ReadFile(path) == bytes);
    EXPECT_TRUE(files.ReadFile(store.PathOf(item.backupName)) == bytes) << "the backup stays";
    const std::string log = files.ReadFile(QuarantineLogPath(context)).value_or("");
    const std::string record = " - Restored: gloom.dll\r\n - Location: " + path + "\r\n\r\n\r\n";
    ASSERT_GE(log.size(), record.size());
    EXPECT_EQ(log.substr(log.size() - record.size()), record);
    EXPECT_TRUE(ReadQuarantineIndex(context).back().restored);
}

TEST_F(QuarantineRestoreTest, AReadOnlyFileThereIsReplacedOnlyWhenAllowed) {
    const std::string path = folder + "\\settings.ini";
    ASSERT_TRUE(files.WriteFile(path, "quarantined"));
    const QuarantineItem item = Quarantine(path);
    ASSERT_TRUE(files.WriteFile(path, "the user's own"));
    ASSERT_TRUE(files.SetAttributes(path, kAttrReadOnly));

    EXPECT_EQ(RestoreQuarantinedItem(context, item, nullptr).status, RestoreStatus::TargetExists);
    EXPECT_EQ(files.ReadFile(path).value_or(""), "the user's own");

    const RestoreOutcome outcome =
        RestoreQuarantinedItem(context, item, [](const std::string&) { return true; });
    EXPECT_TRUE(outcome.Restored()) << RestoreStatusText(outcome.status);
    EXPECT_EQ(files.ReadFile(path).value_or(""), "quarantined");
    EXPECT_TRUE(files.FindEntries(path + "*").size() == 1u) << "no temporary copy left beside it";
}

TEST_F(QuarantineRestoreTest, AFolderTreeComesBackAndAFolderThereOnlyGetsWhatItLacks) {
    const std::string tree = folder + "\\Gloom";
    ASSERT_TRUE(files.CreateFolder(tree));
    ASSERT_TRUE(files.CreateFolder(tree + "\\data"));
    ASSERT_TRUE(files.WriteFile(tree + "\\gloom.exe", "MZ"));
    ASSERT_TRUE(files.WriteFile(tree + "\\data\\a.dat", "a"));
    QuarantineItem item;
    item.kind = QuarantineKind::Folder;
    item.backupName = store.BackupFolder(tree).value_or("");
    item.origin = tree;
    ASSERT_FALSE(item.backupName.empty());
    ASSERT_TRUE(files.DeleteFolder(tree));

    ASSERT_TRUE(RestoreQuarantinedItem(context, item, nullptr).Restored());
    EXPECT_EQ(files.ReadFile(tree + "\\data\\a.dat").value_or(""), "a");

    ASSERT_TRUE(files.WriteFile(tree + "\\gloom.exe", "MZ patched"));
    ASSERT_TRUE(files.DeleteFolder(tree + "\\data"));
    const RestoreOutcome outcome = RestoreQuarantinedItem(context, item, nullptr);
    EXPECT_TRUE(outcome.Restored());
    EXPECT_EQ(outcome.keptEntries, 1u);
    EXPECT_EQ(files.ReadFile(tree + "\\gloom.exe").value_or(""), "MZ patched");
    EXPECT_EQ(files.ReadFile(tree + "\\data\\a.dat").value_or(""), "a");
}

} // namespace
} // namespace grimsweep::win32
