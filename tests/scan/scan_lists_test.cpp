#include "scan/scan_lists.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace grimsweep
