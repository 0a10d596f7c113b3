#include "core/context.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_machine.h"
#include "ui/headless_host.h"

namespace grimsweep {
namespace {

TEST(Context, DataFolderIsTheExpandedAppDataFolderWithoutTrailingBackslash) {
    sim::SimMachine sim;
    HeadlessHost host;
    Context context(sim.View(), host);
    context.EstablishDataFolder();
    EXPECT_EQ(context.dataFolder, "C:\\Documents and Settings\\Tester\\Application Data\\AntiSpywareDAT");
    EXPECT_EQ(context.DataFile("date.dat"),
              "C:\\Documents and Settings\\Tester\\Application Data\\AntiSpywareDAT\\date.dat");
    // The settings store is addressed by the brand values.
    context.settings.Write("Settings", "Language", "English");
    EXPECT_TRUE(sim.registry.Value(RegistryRoot::CurrentUser,
                                   "Software\\Lanternfish Software\\Grimsweep\\Settings", "Language"));
}

} // namespace
} // namespace grimsweep
