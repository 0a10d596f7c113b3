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

} // namespace
} // namespace grimsweep::sim
