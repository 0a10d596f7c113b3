#include "removal/restore_window.h"

#include <gtest/gtest.h>

#include "quarantine_fixture.h"
#include "ui/list_columns.h"
#include "ui/list_icons.h"

namespace grimsweep {
namespace {

class RestoreWindowTest : public QuarantineTest {
protected:
    ui::Control& List() { return window.Window().Get(kRestoreList); }
    ui::Control& RestoreButton() { return window.Window().Get(kRestoreCommand); }
    std::vector<std::string> Names() {
        std::vector<std::string> names;
        for (const auto& row : List().Rows()) {
            names.push_back(row.text);
        }
        return names;
    }
    void Tick(const std::string& name) {
        const auto row = List().FindRow(name);
        ASSERT_TRUE(row.has_value()) << name;
        List().SetRowChecked(*row, true);
    }

    Skin skin;
    BusyState busy;
    RestoreWindow window{context, skin, busy};
};

TEST_F(RestoreWindowTest, ListsTheItemsNotYetRestoredNewestFirst) {
    sim.files.PutFile("C:\\Apps\\one.exe", "1");
    sim.files.PutFile("C:\\Apps\\Two\\two.txt", "2");
    sim.files.PutFile("C:\\Cookies\\user@three.txt", "3");
    Quarantine("C:\\Apps\\one.exe");
    Quarantine("C:\\Apps\\Two");
    QuarantineCookie("C:\\Cookies\\user@three.txt");
    QuarantineRegistry(QuarantineKind::Value, "HKEY_CURRENT_USER\\Software\\Gloom", "", "REGEDIT4\r\n\r\n");
    ASSERT_TRUE(AppendRestored(context, 1, "12/9/2026 1:00:00 AM"));

    window.Window().Load();
    EXPECT_EQ(window.Window().Caption(), "Restore from Quarantine");
    EXPECT_TRUE(List().CheckBoxes());
    ASSERT_EQ(List().Columns().size(), 3u);
    EXPECT_EQ(List().Columns()[1].caption, "Original location");
    EXPECT_EQ(Names(), (std::vector<std::string>{"(Default) (registry value)", "user@three.txt (cookie)",
                                                 "Two (folder)"}))
        << "each item by its own name and kind, not its backup's";
    EXPECT_GE(List().Columns()[0].width, 26 * ui::kTwipsPerCharacter) << "the longest item shows whole";
    const ui::ListRow& value = List().Rows()[0];
    EXPECT_EQ(value.SubItem(1), "HKEY_CURRENT_USER\\Software\\Gloom\\(Default)");
    EXPECT_EQ(value.smallIcon, ui::kIconRegistry);
    EXPECT_EQ(List().Rows()[1].smallIcon, ui::kIconCookie);
    EXPECT_EQ(List().Rows()[2].SubItem(1), "C:\\Apps\\Two");
    EXPECT_EQ(List().Rows()[2].SubItem(2), "12/8/2026 9:04:05 PM");
    EXPECT_EQ(List().Rows()[2].smallIcon, ui::kIconFolder);
    EXPECT_TRUE(RestoreButton().Enabled());
}

TEST_F(RestoreWindowTest, AnEmptyQuarantineShowsAnEmptyListAndNoRestore) {
    window.Window().Load();
    EXPECT_TRUE(List().Rows().empty());
    EXPECT_FALSE(RestoreButton().Enabled());
}

TEST_F(RestoreWindowTest, RestoreAsksBeforeReplacingThenReportsOnceAndRefreshes) {
    sim.files.PutFile("C:\\Apps\\free.dll", "free");
    sim.files.PutFile("C:\\Apps\\taken.ini", "old");
    sim.files.PutFile("C:\\Apps\\left.txt", "left");
    Quarantine("C:\\Apps\\free.dll");
    Quarantine("C:\\Apps\\taken.ini");
    Quarantine("C:\\Apps\\left.txt");
    sim.files.PutFile("C:\\Apps\\taken.ini", "new");
    window.Window().Load();
    Tick("free.dll (file)");
    Tick("taken.ini (file)");
    host.Answer(MessageBoxAnswer::No);

    RestoreButton().Click();
    ASSERT_EQ(host.Shown().size(), 2u);
    EXPECT_EQ(host.Shown()[0].buttons, MessageBoxButtons::YesNo);
    EXPECT_NE(host.Shown()[0].text.find("C:\\Apps\\taken.ini"), std::string::npos);
    const std::string& summary = host.Shown()[1].text;
    EXPECT_EQ(host.Shown()[1].buttons, MessageBoxButtons::Ok);
    EXPECT_EQ(summary, "Restored:\r\nC:\\Apps\\free.dll\r\n\r\nNot restored:\r\nC:\\Apps\\taken.ini: "
                       "something is already there and was not replaced\r\n");
    EXPECT_EQ(sim.files.Contents("C:\\Apps\\taken.ini"), "new");
    EXPECT_EQ(sim.files.Contents("C:\\Apps\\free.dll"), "free");
    EXPECT_EQ(Names(), (std::vector<std::string>{"left.txt (file)", "taken.ini (file)"}))
        << "the restored item left the list";
    EXPECT_FALSE(List().Rows()[1].checked);
    EXPECT_FALSE(sim.files.Exists("C:\\Apps\\left.txt")) << "an unticked item stays in the quarantine";

    Tick("taken.ini (file)");
    host.Answer(MessageBoxAnswer::Yes);
    RestoreButton().Click();
    EXPECT_EQ(sim.files.Contents("C:\\Apps\\taken.ini"), "old");
    EXPECT_EQ(host.Shown().back().text, "Restored:\r\nC:\\Apps\\taken.ini\r\n");
    EXPECT_EQ(Names(), std::vector<std::string>{"left.txt (file)"});
}

TEST_F(RestoreWindowTest, NothingIsRestoredWithoutATickOrWhileAScanOrRemovalRuns) {
    sim.files.PutFile("C:\\Apps\\one.exe", "1");
    Quarantine("C:\\Apps\\one.exe");
    window.Window().Load();
    RestoreButton().Click();
    ASSERT_EQ(host.Shown().size(), 1u);
    EXPECT_EQ(host.Shown()[0].buttons, MessageBoxButtons::Ok);

    Tick("one.exe (file)");
    ASSERT_TRUE(busy.Begin(BusyTask::Scan));
    RestoreButton().Click();
    EXPECT_EQ(host.Shown().size(), 2u);
    EXPECT_FALSE(sim.files.Exists("C:\\Apps\\one.exe"));
    busy.End();

    bool busyDuringRestore = false;
    host.onPump = [&] { busyDuringRestore = busy.Busy(); };
    RestoreButton().Click();
    EXPECT_TRUE(sim.files.Exists("C:\\Apps\\one.exe"));
    EXPECT_TRUE(busyDuringRestore);
    EXPECT_FALSE(busy.Busy());
}

TEST_F(RestoreWindowTest, ShowsModallyCentredOverItsOwnerAndListsAfreshEachTime) {
    ui::Form owner(host, "FrmMain");
    owner.Move(1500, 900, 12000, 9000);
    std::size_t rowsShown = 99;
    host.onModal = [&](ui::Form& form) {
        EXPECT_EQ(&form, &window.Window());
        rowsShown = List().Rows().size();
        EXPECT_EQ(form.Position().left + form.Position().width / 2, 1500 + 6000);
        EXPECT_EQ(form.Position().top + form.Position().height / 2, 900 + 4500);
        window.Window().Get(kRestoreCloseCommand).Click();
    };
    window.Show(owner);
    EXPECT_EQ(rowsShown, 0u);
    EXPECT_FALSE(window.Window().Loaded());

    sim.files.PutFile("C:\\Apps\\one.exe", "1");
    Quarantine("C:\\Apps\\one.exe");
    window.Show(owner);
    EXPECT_EQ(rowsShown, 1u);
}

} // namespace
} // namespace grimsweep
