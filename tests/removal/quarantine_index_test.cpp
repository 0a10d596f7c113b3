// The quarantine index: fields that hold separators come back as they went in, restores mark their item,
// and lines that cannot be read are passed over.
#include <gtest/gtest.h>

#include "removal/quarantine_index.h"

namespace grimsweep {
namespace {

TEST(QuarantineIndex, FieldsRoundTripAndALaterRestoreMarksTheNewestItemOfItsBackup) {
    QuarantineItem odd;
    odd.kind = QuarantineKind::Value;
    odd.backupName = "Run.reg";
    odd.origin = "HKEY_CURRENT_USER\\Software\\Tab\there";
    odd.valueName = "100%\r\nnew line";
    odd.when = "12/9/2026 3:04:05 AM";
    QuarantineItem file;
    file.backupName = "tool (2).exe";
    file.origin = "C:\\b\\tool.exe";
    file.when = "12/9/2026 3:04:06 AM";

    const std::string text = IndexLine(odd) + "garbage line\r\nQ\tNoSuchKind\ta\tb\t\tc\r\n" +
                             IndexLine(file) + "R\tTOOL (2).EXE\t12/10/2026 1:00:00 PM\r\n" +
                             "R\tmissing.exe\tx\r\n";
    const auto items = ParseQuarantineIndex(text);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].origin, odd.origin);
    EXPECT_EQ(items[0].valueName, odd.valueName);
    EXPECT_EQ(items[0].kind, QuarantineKind::Value);
    EXPECT_FALSE(items[0].restored);
    EXPECT_EQ(items[1].backupName, "tool (2).exe");
    EXPECT_TRUE(items[1].restored) << "backup names compare as file names do";
    EXPECT_EQ(items[1].restoredWhen, "12/10/2026 1:00:00 PM");
    EXPECT_EQ(OriginText(items[0]), odd.origin + "\\" + odd.valueName);
    EXPECT_TRUE(ParseQuarantineIndex("Q\tFile\t\tC:\\x\t\twhen\r\n%").empty()) << "no backup name, no item";
}

// Numbers are never given twice: an index written before items had numbers numbers them in order, a
// number given twice goes to the first item only, and a restore line names its item by number, so an
// older item that shares a backup name with a newer one is never marked nor restored with its bytes.
TEST(QuarantineIndex, EveryItemKeepsANumberOfItsOwnAndOnlyTheNewestItemOfANameHoldsItsBackup) {
    const std::string text = "Q\tFile\ttool.exe\tC:\\a\\tool.exe\t\twhen\r\n"      // before numbers: 1
                             "Q\tFile\tother.exe\tC:\\a\\other.exe\t\twhen\t7\r\n" // 7
                             "Q\tFile\ttool.exe\tC:\\b\\tool.exe\t\twhen\t7\r\n"   // 7 again: 8
                             "Q\tFile\tlast.exe\tC:\\c\\last.exe\t\twhen\tx\r\n" + // unreadable: 9
                             RestoredLine(1, "then") +
                             RestoredLine(42, "never");
    const auto items = ParseQuarantineIndex(text);
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].number, 1u);
    EXPECT_EQ(items[1].number, 7u);
    EXPECT_EQ(items[2].number, 8u);
    EXPECT_EQ(items[3].number, 9u);
    EXPECT_EQ(NextItemNumber(items), 10u);
    EXPECT_TRUE(items[0].restored) << "R #1 names the first item, not the newest tool.exe";
    EXPECT_FALSE(items[2].restored);
    EXPECT_TRUE(items[0].backupTaken) << "the newer tool.exe item holds the backup of that name";
    EXPECT_FALSE(items[2].backupTaken);
}

} // namespace
} // namespace grimsweep
