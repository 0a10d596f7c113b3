#include "platform/sim/sim_registry.h"

#include <gtest/gtest.h>

namespace grimsweep::sim {
namespace {

const RegistryRoot kUser = RegistryRoot::CurrentUser;

TEST(SimRegistry, KeyAndValueNamesOfEveryScriptCompareWithoutCase) {
    SimRegistry registry;
    registry.PutString(kUser, "Software\\\xC3\x84rger", "\xCE\xA3\xCE\xA4\xCE\x91\xCE\xA1\xCE\xA4",
                       "x"); // Ärger, ΣΤΑΡΤ
    RegistryValue value;
    EXPECT_EQ(registry.QueryValue(kUser, "SOFTWARE\\\xC3\xA4RGER", "\xCF\x83\xCF\x84\xCE\xB1\xCF\x81\xCF\x84",
                                  kKeyRead, value),
              kRegistryOk);
    std::vector<std::string> names;
    ASSERT_EQ(registry.ListSubKeys(kUser, "software", names), kRegistryOk);
    EXPECT_EQ(names, std::vector<std::string>{"\xC3\x84rger"}); // the spelling it was made with
    EXPECT_EQ(registry.OpenKey(kUser, "Software\\Arger", kKeyRead), kRegistryNotFound);
}

TEST(SimRegistry, ProtectedValuesAndKeysOpenButRefuseDeletes) {
    SimRegistry registry;
    registry.PutString(kUser, "Software\\Guarded", "Run", "evil.exe");
    registry.SetValueDeleteFails(kUser, "Software\\Guarded", true);
    EXPECT_EQ(registry.OpenKey(kUser, "Software\\Guarded", kKeyFullAccess), kRegistryOk);
    EXPECT_EQ(registry.SetValue(kUser, "Software\\Guarded", "Other", RegistryValue::String("y")),
              kRegistryOk);
    EXPECT_EQ(registry.DeleteValue(kUser, "Software\\Guarded", "Run"), kRegistryAccessDenied);
    EXPECT_EQ(registry.DeleteValue(kUser, "Software\\Guarded", "Missing"), kRegistryNotFound);
    EXPECT_TRUE(registry.Value(kUser, "Software\\Guarded", "Run").has_value());

    // A tree delete takes the sub-keys in order and stops at the first it cannot delete.
    registry.CreateKey(kUser, "Software\\Spy\\A\\Deep");
    registry.CreateKey(kUser, "Software\\Spy\\B");
    registry.CreateKey(kUser, "Software\\Spy\\C");
    registry.SetKeyDeleteFails(kUser, "Software\\Spy\\B", true);
    EXPECT_EQ(registry.DeleteKeyTree(kUser, "Software\\Spy"), kRegistryAccessDenied);
    EXPECT_FALSE(registry.KeyExists(kUser, "Software\\Spy\\A"));
    EXPECT_TRUE(registry.KeyExists(kUser, "Software\\Spy\\B"));
    EXPECT_TRUE(registry.KeyExists(kUser, "Software\\Spy\\C"));
    EXPECT_EQ(registry.DeleteKeyTree(kUser, "Software\\Spy\\C"), kRegistryOk);
    registry.SetKeyDeleteFails(kUser, "Software\\Spy\\B", false);
    EXPECT_EQ(registry.DeleteKeyTree(kUser, "Software\\Spy"), kRegistryOk);
    EXPECT_FALSE(registry.KeyExists(kUser, "Software\\Spy"));
}

} // namespace
} // namespace grimsweep::sim
