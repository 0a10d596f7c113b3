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

TEST(RunAtStartup, RefusedWriteAndDeleteLeaveTheKeyAsItWas) {
    const std::string runKey(kRunKeyPath);
    sim::SimRegistry registry;
    registry.DenyAccess(RegistryRoot::LocalMachine, "SOFTWARE", 0x3F);
    WriteRunAtStartup(registry, "C:\\P\\grimsweep.exe");
    EXPECT_FALSE(registry.Value(RegistryRoot::LocalMachine, runKey, "grimsweep").has_value());

    sim::SimRegistry written;
    WriteRunAtStartup(written, "C:\\P\\grimsweep.exe");
    ASSERT_TRUE(written.Value(RegistryRoot::LocalMachine, runKey, "grimsweep").has_value());
    written.DenyAccess(RegistryRoot::LocalMachine, "SOFTWARE", 0x3F);
    RemoveRunAtStartup(written, "C:\\P\\grimsweep.exe");
    EXPECT_TRUE(written.Value(RegistryRoot::LocalMachine, runKey, "grimsweep").has_value());
}

} // namespace
} // namespace grimsweep
