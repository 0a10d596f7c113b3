#include "scan/scan_lists.h"

#include <gtest/gtest.h>

#include <vector>

#include "scan_fixture.h"
#include "ui/list_icons.h"

namespace grimsweep {
namespace {

using ScanListsTest = ScanStageTest;

TEST_F(ScanListsTest, AThreatIsListedByAnyLineThatBeginsWithItsFoundText) {
    lists.AddFound("Foo - Foundation - Found", ui::kIconFile);
    EXPECT_TRUE(lists.ThreatListed("Foo")) << "\"Foo - Found\" begins the longer line";
    EXPECT_TRUE(lists.ThreatListed("FOO - FOUNDATION")) << "case is ignored";
    EXPECT_FALSE(lists.ThreatListed("Fo"));
    EXPECT_FALSE(lists.ThreatListed("Foo - Foundation - Found"));
    lists.Clear();
    EXPECT_FALSE(lists.ThreatListed("Foo"));
    EXPECT_TRUE(lists.Found().Rows().empty());
}

TEST_F(ScanListsTest, RowsCarryTheirPartnersLayout) {
    lists.AddRemovalRow("Evil", ui::kIconRegistry, "HKEY_LOCAL_MACHINE\\Software\\Evil", "");
    lists.AddRemovalRow("Evil", ui::kIconFile, "C:\\evil.exe", "adware");
    EXPECT_EQ(lists.Removal().Rows()[0].subItems.size(), 1u) << "no details: no second sub-item";
    EXPECT_EQ(lists.Removal().Rows()[1].SubItem(2), "adware");
    lists.AddRegistryRow(RegistryRoot::LocalMachine, "Software\\Evil", "", "Evil");
    const auto& registryRow = lists.Registry().Rows()[0];
    EXPECT_EQ(registryRow.text, "-2147483646");
    EXPECT_EQ(registryRow.SubItem(3), "Evil");
    lists.AddExcluded("C:\\x.exe");
    EXPECT_EQ(lists.Found().Rows()[0].text, "EXCLUDED: C:\\x.exe");
    EXPECT_EQ(lists.Found().Rows()[0].smallIcon, ui::kIconExcluded);
}

std::vector<bool> Checks(const ui::Control& list) {
    std::vector<bool> checks;
    for (const auto& row : list.Rows()) {
        checks.push_back(row.checked);
    }
    return checks;
}

// Ticking a removal row ticks exactly its partner rows, and unticking it unticks them again.
TEST_F(ScanListsTest, ARemovalRowsCheckMarkReachesExactlyItsPartners) {
    lists.AddFileRow("C:\\Evil\\evil.exe", "EVIL");
    lists.AddFileRow("C:\\Evil\\evil.dll", "evil");
    lists.AddFileRow("C:\\Nameless", "");
    lists.AddFileRow("C:\\Other Nameless", " ");
    lists.AddFileRow("C:\\good.exe", "Good");
    lists.AddRegistryRow(RegistryRoot::LocalMachine, "Software\\Evil", "", "Evil");
    lists.AddRegistryRow(RegistryRoot::LocalMachine, "Software\\Unnamed", "", "");
    lists.AddCookieRow("C:\\Cookies\\ann@ads[1].txt");

    struct Case {
        std::string text;
        int kind;
        std::string location;
        std::vector<bool> files;
        std::vector<bool> registry;
        std::vector<bool> cookies;
    };
    const std::vector<Case> cases = {
        {"Evil", ui::kIconFile, "C:\\Evil\\evil.exe", {1, 1, 0, 0, 0}, {1, 0}, {0}},
        {"EVIL", ui::kIconRegistry, "HKEY_LOCAL_MACHINE\\Software\\Evil", {1, 1, 0, 0, 0}, {1, 0}, {0}},
        {"", ui::kIconFolder, "C:\\Nameless", {0, 0, 1, 0, 0}, {0, 0}, {0}},
        {" ", ui::kIconFolder, "c:\\other nameless", {0, 0, 0, 1, 0}, {0, 0}, {0}},
        {"software\\unnamed",
         ui::kIconRegistry,
         "HKEY_LOCAL_MACHINE\\Software\\Unnamed",
         {0, 0, 0, 0, 0},
         {0, 1},
         {0}},
        {"Cookie: ads", ui::kIconCookie, "C:\\Cookies\\ann@ads[1].txt", {0, 0, 0, 0, 0}, {0, 0}, {1}},
    };
    for (std::size_t row = 0; row < cases.size(); ++row) {
        const Case& c = cases[row];
        lists.AddRemovalRow(c.text, c.kind, c.location, "");
        lists.Removal().SetRowChecked(row, true);
        lists.CopyCheckToPartners(row);
        EXPECT_EQ(Checks(lists.Files()), c.files) << "row " << row;
        EXPECT_EQ(Checks(lists.Registry()), c.registry) << "row " << row;
        EXPECT_EQ(Checks(lists.Cookies()), c.cookies) << "row " << row;
        lists.Removal().SetRowChecked(row, false);
        lists.CopyCheckToPartners(row);
        EXPECT_EQ(Checks(lists.Files()), std::vector<bool>(5, false)) << "row " << row;
        EXPECT_EQ(Checks(lists.Registry()), std::vector<bool>(2, false)) << "row " << row;
        EXPECT_EQ(Checks(lists.Cookies()), std::vector<bool>(1, false)) << "row " << row;
    }
}

} // namespace
} // namespace grimsweep
