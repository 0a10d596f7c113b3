#include "core/settings_store.h"

#include <gtest/gtest.h>

#include "core/settings_keys.h"
#include "platform/sim/sim_registry.h"

namespace grimsweep {
namespace {

using namespace settings;

TEST(SettingsStore, ReadsDefaultsUntilWrittenAndKeepsValuesPerSection) {
    sim::SimRegistry registry;
    SettingsStore store(registry, "Lanternfish Software", "Grimsweep");
    EXPECT_EQ(store.Read(kSectionSettings, kLastScan, kLastScanDefault), "Never");
    EXPECT_EQ(store.ReadNumber(kSectionOptions, kAutomaticUpdate, kAutomaticUpdateControlDefault), 1);
    EXPECT_EQ(store.ReadNumber(kSectionOptions, kAutomaticUpdate, kAutomaticUpdateStartDefault), 0);

    store.WriteCheck(kSectionOptions, kAutomaticUpdate, 1);
    EXPECT_EQ(store.ReadNumber(kSectionOptions, kAutomaticUpdate, kAutomaticUpdateStartDefault), 1);
    store.Write(kSectionSettings, kLanguage, "Deutsch");
    EXPECT_EQ(store.Read(kSectionOptions, kLanguage, "none"), "none"); // other section untouched

    // The values live where other tools expect them.
    const auto stored = registry.Value(RegistryRoot::CurrentUser,
                                       "Software\\Lanternfish Software\\Grimsweep\\Settings", "language");
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->text, "Deutsch");
}

TEST(SettingsStore, TruthAndNumberConversionsFollowTheStoredText) {
    sim::SimRegistry registry;
    SettingsStore store(registry, "Co", "Prog");
    store.WriteTruth(kSectionOptions, kMemoryShieldOn, false);
    EXPECT_EQ(store.Read(kSectionOptions, kMemoryShieldOn, ""), "False");
    EXPECT_FALSE(store.ReadTruth(kSectionOptions, kMemoryShieldOn, kMemoryShieldOnDefault));
    EXPECT_TRUE(store.ReadTruth(kSectionDrives, "C", kDriveSelectedDefault));

    EXPECT_TRUE(TextToTruth("true"));
    EXPECT_TRUE(TextToTruth(" TRUE "));
    EXPECT_TRUE(TextToTruth("-1"));
    EXPECT_FALSE(TextToTruth("0"));
    EXPECT_FALSE(TextToTruth("garbage"));
    EXPECT_EQ(TextToNumber("1400"), 1400);
    EXPECT_EQ(TextToNumber(" 12abc"), 12);
    EXPECT_EQ(TextToNumber("abc"), 0);
    EXPECT_EQ(TextToNumber("-3"), -3);
}

TEST(SettingsStore, NonStringValuesAndRefusedWritesNeverFailVisibly) {
    sim::SimRegistry registry;
    SettingsStore store(registry, "Co", "Prog");
    registry.CreateKey(RegistryRoot::CurrentUser, store.SectionPath(kSectionSettings));
    registry.SetValue(RegistryRoot::CurrentUser, store.SectionPath(kSectionSettings), "Max",
                      RegistryValue::Dword(1));
    EXPECT_EQ(store.Read(kSectionSettings, kMax, kMaxDefault), "1");

    registry.DenyAccess(RegistryRoot::CurrentUser, "Software\\Co", kKeySetValue | kKeyCreateSubKey);
    store.Write(kSectionOptions, kMakeLog, "0");
    EXPECT_EQ(store.Read(kSectionOptions, kMakeLog, kMakeLogDefault), "1");
}

} // namespace
} // namespace grimsweep
