#include "core/run_at_startup.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_registry.h"

namespace grimsweep {
namespace {

TEST(RunAtStartup, WritesQuotedPathWithoutExtensionAndRemovesIt) {
    sim::SimRegistry registry;
    WriteRunAtStartup(registry, "C:\\Program Files\\Grimsweep\\grimsweep.exe");
    auto value = registry.Value(RegistryRoot::LocalMachine, std::string(kRunKeyPath), "grimsweep");
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->text, "\"C:\\Program Files\\Grimsweep\\grimsweep\"");

    // Written again from another folder, the value follows the current program folder.
    WriteRunAtStartup(registry, "D:\\Tools\\grimsweep.exe");
    EXPECT_EQ(registry.Value(RegistryRoot::LocalMachine, std::string(kRunKeyPath), "grimsweep")->text,
              "\"D:\\Tools\\grimsweep\"");

    RemoveRunAtStartup(registry, "D:\\Tools\\grimsweep.exe");
    EXPECT_FALSE(
        registry.Value(RegistryRoot::LocalMachine, std::string(kRunKeyPath), "grimsweep").has_value());
}

// A standard user's value goes to their own Run key; with neither writable nothing is claimed.
TEST(RunAtStartup, AStandardUserGetsTheirOwnRunValueAndBothAreRemoved) {
    const std::string runKey(kRunKeyPath);
    sim::SimRegistry registry;
    registry.DenyAccess(RegistryRoot::LocalMachine, "SOFTWARE", 0x3F);
    EXPECT_TRUE(WriteRunAtStartup(registry, "C:\\P\\grimsweep.exe"));
    EXPECT_FALSE(registry.Value(RegistryRoot::LocalMachine, runKey, "grimsweep").has_value());
    EXPECT_EQ(registry.Value(RegistryRoot::CurrentUser, runKey, "grimsweep")->text, "\"C:\\P\\grimsweep\"");
    RemoveRunAtStartup(registry, "C:\\P\\grimsweep.exe");
    EXPECT_FALSE(registry.Value(RegistryRoot::CurrentUser, runKey, "grimsweep").has_value());

    registry.DenyAccess(RegistryRoot::CurrentUser, "SOFTWARE", 0x3F);
    EXPECT_FALSE(WriteRunAtStartup(registry, "C:\\P\\grimsweep.exe"));
}

} // namespace
} // namespace grimsweep
