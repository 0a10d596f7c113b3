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
                             IndexLine(file) + RestoredLine("TOOL (2).EXE", "12/10/2026 1:00:00 PM") +
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

} // namespace
} // namespace grimsweep
