#include "app/program.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_machine.h"
#include "ui/headless_host.h"

namespace grimsweep {
namespace {

TEST(Program, DataFolderIsTheExpandedAppDataFolderWithoutTrailingBackslash) {
    sim::SimMachine sim;
    HeadlessHost host;
    Program program(sim.View(), host);
    program.EstablishDataFolder();
    EXPECT_EQ(program.dataFolder, "C:\\Documents and Settings\\Tester\\Application Data\\AntiSpywareDAT");
    EXPECT_EQ(program.DataFile("date.dat"),
              "C:\\Documents and Settings\\Tester\\Application Data\\AntiSpywareDAT\\date.dat");
    // The settings store is addressed by the brand values.
    program.settings.Write("Settings", "Language", "English");
    EXPECT_TRUE(sim.registry.Value(RegistryRoot::CurrentUser,
                                   "Software\\Lanternfish Software\\Grimsweep\\Settings", "Language"));
}

} // namespace
} // namespace grimsweep
