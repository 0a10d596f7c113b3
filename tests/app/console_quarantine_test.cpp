#include "app/console_quarantine.h"

#include <gtest/gtest.h>

#include <sstream>

#include "../removal/quarantine_fixture.h"

namespace grimsweep {
namespace {

class ConsoleQuarantineTest : public QuarantineTest {
protected:
    ConsoleQuarantineTest() {
        sim.files.PutFile("C:\\Apps\\one.exe", "1");
        sim.files.PutFile("C:\\Apps\\Two\\two.txt", "2");
        sim.files.PutFile("C:\\Apps\\three.ini", "3");
    }
    void QuarantineAll() {
        Quarantine("C:\\Apps\\one.exe");
        Quarantine("C:\\Apps\\Two");
        Quarantine("C:\\Apps\\three.ini");
    }
    int Restore(const std::vector<std::string>& items) {
        out.str("");
        return RestoreFromConsole(context, items, out);
    }

    std::ostringstream out;
};

TEST_F(ConsoleQuarantineTest, ListsEveryItemOnALineWithItsNumberAndWhetherItWasRestored) {
    EXPECT_EQ(ListQuarantine(context, out), kConsoleRestoreDone);
    EXPECT_NE(out.str().find("The quarantine holds no items.\n"), std::string::npos);

    QuarantineAll();
    ASSERT_TRUE(AppendRestored(context, 2, "12/9/2026 1:00:00 AM"));
    out.str("");
    EXPECT_EQ(ListQuarantine(context, out), kConsoleRestoreDone);
    EXPECT_EQ(out.str(), "Quarantine: " + QuarantineFolder(context) +
                             "\n"
                             "1  File    one.exe  C:\\Apps\\one.exe  12/8/2026 9:04:05 PM\n"
                             "2  Folder  Two  C:\\Apps\\Two  12/8/2026 9:04:05 PM  restored\n"
                             "3  File    three.ini  C:\\Apps\\three.ini  12/8/2026 9:04:05 PM\n");
}

TEST_F(ConsoleQuarantineTest, RestoresItemsByNumberOrBackupName) {
    QuarantineAll();
    EXPECT_EQ(Restore({"1", "TWO", "1"}), kConsoleRestoreDone);
    EXPECT_EQ(out.str(), "Restored: one.exe -> C:\\Apps\\one.exe\n"
                         "Restored: Two -> C:\\Apps\\Two\n");
    EXPECT_EQ(sim.files.Contents("C:\\Apps\\one.exe"), "1");
    EXPECT_EQ(sim.files.Contents("C:\\Apps\\Two\\two.txt"), "2");
    const auto items = ReadQuarantineIndex(context);
    EXPECT_TRUE(items[0].restored && items[1].restored);
    EXPECT_FALSE(items[2].restored);
}

// A backup deleted by hand never frees its name: the newer item gets one of its own, and the older one
// cannot be restored with the newer item's bytes.
TEST_F(ConsoleQuarantineTest, ABackupNameIsNeverGivenTwice) {
    const QuarantineItem old = Quarantine("C:\\Apps\\one.exe");
    ASSERT_TRUE(sim.files.DeleteFile(Backup(old)));
    sim.files.PutFile("C:\\Other\\one.exe", "other");
    const QuarantineItem newer = Quarantine("C:\\Other\\one.exe");
    ASSERT_EQ(newer.backupName, "one (2).exe");
    EXPECT_EQ(Restore({std::to_string(old.number)}), kConsoleRestoreIncomplete);
    EXPECT_FALSE(sim.files.Exists("C:\\Apps\\one.exe"));
    EXPECT_EQ(Restore({std::to_string(newer.number)}), kConsoleRestoreDone);
    EXPECT_EQ(sim.files.Contents("C:\\Other\\one.exe"), "other");
}

TEST_F(ConsoleQuarantineTest, NeverReplacesAFileThatIsThere) {
    QuarantineAll();
    sim.files.PutFile("C:\\Apps\\three.ini", "new");
    EXPECT_EQ(Restore({"1", "3"}), kConsoleRestoreIncomplete);
    EXPECT_EQ(out.str(), "Restored: one.exe -> C:\\Apps\\one.exe\n"
                         "Not restored: three.ini -> C:\\Apps\\three.ini: "
                         "something is already there and was not replaced\n");
    EXPECT_EQ(sim.files.Contents("C:\\Apps\\three.ini"), "new");
    EXPECT_TRUE(host.Shown().empty());
}

TEST_F(ConsoleQuarantineTest, AnItemNotInTheQuarantineRestoresNothing) {
    EXPECT_EQ(Restore({"1"}), kConsoleRestoreError) << "no quarantine";
    QuarantineAll();
    EXPECT_EQ(Restore({}), kConsoleRestoreError);
    EXPECT_NE(out.str().find("Usage"), std::string::npos);
    for (const char* unknown : {"4", "0", "nothing.exe", "-1"}) {
        EXPECT_EQ(Restore({"1", unknown}), kConsoleRestoreError) << unknown;
        EXPECT_NE(out.str().find(unknown), std::string::npos);
    }
    EXPECT_FALSE(sim.files.Exists("C:\\Apps\\one.exe"));
}

} // namespace
} // namespace grimsweep
