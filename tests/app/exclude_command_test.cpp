// The Results panel's Exclude button on the real main window: the rows a scan would add are added by the
// test, with partner rows whose check marks follow the removal rows.
#include "app/main_window_controls.h"
#include "definitions/exclusion_list.h"
#include "main_window_fixture.h"

namespace grimsweep {
namespace {

ui::ListRow Row(std::string text, std::vector<std::string> subItems, bool checked, int icon = 0) {
    return {std::move(text), std::move(subItems), icon, checked};
}

class ExcludeCommandTest : public MainWindowTest {
protected:
    ExcludeCommandTest() {
        Open();
        sim.files.PutFolder(context->dataFolder);
    }

    std::vector<std::string> Texts(std::string_view list) {
        std::vector<std::string> texts;
        for (const auto& row : Control(list).Rows()) {
            texts.push_back(row.text);
        }
        return texts;
    }
    std::string ExclusionFile() { return sim.files.ReadFile(context->DataFile(kExclusionFile)).value_or(""); }

    // A ticked file finding and a ticked cookie, an unticked registry finding, each with its partners.
    void FillLists() {
        ui::Control& removal = Control(kRemovalList);
        removal.AddRow(Row("Evil Threat", {"C:\\evil\\evil.exe", "Adware"}, true, 3));
        removal.AddRow(Row("Cookie: tracker@ads.example", {"C:\\cookies\\tracker@ads.example.txt"}, true, 1));
        removal.AddRow(Row("Nag Toolbar", {"HKEY_CURRENT_USER\\Software\\Nag"}, false, 2));
        Control("lvwFilesToBeDeleted").AddRow(Row("C:\\evil\\evil.exe", {"Evil Threat"}, true));
        Control("lvwCookiesToDelete").AddRow(Row("C:\\cookies\\tracker@ads.example.txt", {}, true));
        Control("lvwRegistryToBeDeleted").AddRow(Row("HKCU\\Software\\Nag", {"Nag Toolbar"}, false));
        Control("lvwSpywareFound").AddRow(Row("Evil Threat - C:\\evil\\evil.exe", {}, false, 3));
        Control("lblDeletingCaption").SetCaption("3 items");
    }
};

TEST_F(ExcludeCommandTest, TickedRowsAreExcludedAndLeaveEveryListWithTheirPartners) {
    FillLists();
    host->Answer(MessageBoxAnswer::Yes);
    Control("cmdExclude").Click();

    ASSERT_FALSE(host->Shown().empty());
    EXPECT_EQ(host->Shown().back().title, "Really Exclude?");
    // Location first, then the text without the cookie prefix, for each ticked row in list order.
    EXPECT_EQ(ExclusionFile(), "C:\\evil\\evil.exe\r\nEvil Threat\r\n"
                               "C:\\cookies\\tracker@ads.example.txt\r\ntracker@ads.example\r\n");
    EXPECT_TRUE(window->Definitions().exclusions.IsExcluded("EVIL THREAT"));
    EXPECT_TRUE(window->Definitions().exclusions.IsExcluded("tracker@ads.example"));

    EXPECT_EQ(Texts(kRemovalList), std::vector<std::string>{"Nag Toolbar"});
    EXPECT_TRUE(Control("lvwFilesToBeDeleted").Rows().empty());
    EXPECT_TRUE(Control("lvwCookiesToDelete").Rows().empty());
    EXPECT_EQ(Texts("lvwRegistryToBeDeleted"), std::vector<std::string>{"HKCU\\Software\\Nag"});
    // Scan-list lines carry no check mark: they stay.
    EXPECT_EQ(Control("lvwSpywareFound").Rows().size(), 1u);
    EXPECT_EQ(Control("lblDeletingCaption").Caption(), "");
}

TEST_F(ExcludeCommandTest, AdjacentTickedRowsAreAllRemoved) {
    ui::Control& removal = Control(kRemovalList);
    for (int i = 0; i < 4; ++i) {
        removal.AddRow(Row("Threat " + std::to_string(i), {"C:\\t" + std::to_string(i)}, i != 3));
    }
    host->Answer(MessageBoxAnswer::Yes);
    Control("cmdExclude").Click();
    EXPECT_EQ(Texts(kRemovalList), std::vector<std::string>{"Threat 3"});
}

TEST_F(ExcludeCommandTest, NoAnswerOrEmptyListsChangeNothing) {
    const std::size_t boxesBefore = host->Shown().size();
    Control("cmdExclude").Click();
    ASSERT_EQ(host->Shown().size(), boxesBefore + 1);
    EXPECT_EQ(host->Shown().back().text, "Sorry, there are no entries to be excluded.");

    FillLists();
    host->Answer(MessageBoxAnswer::No);
    Control("cmdExclude").Click();
    EXPECT_EQ(ExclusionFile(), "");
    EXPECT_EQ(Control(kRemovalList).Rows().size(), 3u);
    EXPECT_EQ(Control("lblDeletingCaption").Caption(), "3 items");
}

TEST_F(ExcludeCommandTest, NothingTickedAppendsNothingButStillClearsTheCaption) {
    Control(kRemovalList).AddRow(Row("Evil Threat", {"C:\\evil\\evil.exe"}, false));
    Control("lblDeletingCaption").SetCaption("1 item");
    host->Answer(MessageBoxAnswer::Yes);
    Control("cmdExclude").Click();
    EXPECT_EQ(ExclusionFile(), "");
    EXPECT_EQ(Control(kRemovalList).Rows().size(), 1u);
    EXPECT_EQ(Control("lblDeletingCaption").Caption(), "");
}

} // namespace
} // namespace grimsweep
