#include "core/machine_settings.h"

#include <gtest/gtest.h>

#include "core/settings_keys.h"
#include "platform/sim/sim_registry.h"
#include "ui/headless_host.h"

namespace grimsweep {
namespace {

class MachineSettingsTest : public ::testing::Test {
protected:
    sim::SimRegistry registry;
    HeadlessHost host;
    SettingsStore store{registry, "Lanternfish Software", "Grimsweep"};
    MachineSettings machine{registry, " Lanternfish Software ", store, host};

    // A standard user: the machine's key is read-only.
    void DenyMachineWrites() {
        registry.DenyAccess(RegistryRoot::LocalMachine, "SOFTWARE", kKeySetValue | kKeyCreateSubKey);
    }
    // A user who may write neither the machine's key nor their own.
    void DenyAllWrites() {
        DenyMachineWrites();
        registry.DenyAccess(RegistryRoot::CurrentUser, machine.UserKeyPath("Grimsweep", "Settings"),
                            kKeySetValue | kKeyCreateSubKey);
    }
};

TEST_F(MachineSettingsTest, AStandardUsersValuesGoToTheirOwnKeyAndAreReadFromThereWithoutADialogue) {
    DenyMachineWrites();
    machine.WriteMachineSetting("Grimsweep", "Settings", "FirstTime", "Yes");
    EXPECT_TRUE(host.Shown().empty());
    const std::string path = machine.KeyPath("Grimsweep", "Settings");
    EXPECT_FALSE(registry.Value(RegistryRoot::LocalMachine, path, "FirstTime"));
    EXPECT_EQ(
        registry.Value(RegistryRoot::CurrentUser, machine.UserKeyPath("Grimsweep", "Settings"), "FirstTime")
            ->text,
        "Yes");
    EXPECT_EQ(machine.ReadMachineSetting("Grimsweep", "Settings", "FirstTime", ""), "Yes");

    // The machine's own value, once an administrator stored one, comes first.
    registry.AllowAccess(RegistryRoot::LocalMachine, "SOFTWARE");
    registry.CreateKey(RegistryRoot::LocalMachine, path);
    registry.SetValue(RegistryRoot::LocalMachine, path, "FirstTime", RegistryValue::String("Machine"));
    EXPECT_EQ(machine.ReadMachineSetting("Grimsweep", "Settings", "FirstTime", ""), "Machine");
}

TEST_F(MachineSettingsTest, RoundTripUnderTrimmedMachineKey) {
    EXPECT_EQ(machine.ReadMachineSetting("Grimsweep", "Settings", "FirstTime", ""), "");
    machine.WriteMachineSetting(" Grimsweep ", "Settings ", "FirstTime", "Yes");
    EXPECT_TRUE(registry.Value(RegistryRoot::LocalMachine,
                               "SOFTWARE\\Lanternfish Software\\Grimsweep\\Settings", "FirstTime"));
    EXPECT_EQ(machine.ReadMachineSetting("Grimsweep", "Settings", "FirstTime", ""), "Yes");
    EXPECT_EQ(machine.ReadMachineSetting("Grimsweep", "Settings", "Other", "dflt"), "dflt");
    machine.WriteMachineSetting("Grimsweep", "Settings", "showHelp", "");
    EXPECT_EQ(machine.ReadMachineSetting("Grimsweep", "Settings", "showHelp", "dflt"), "");
    EXPECT_TRUE(host.Shown().empty());
}

TEST_F(MachineSettingsTest, ReadRejectsBlankArgumentsAndNonStringData) {
    auto numberOf = [&](const std::string& app, const std::string& section, const std::string& key) {
        try {
            machine.ReadMachineSetting(app, section, key, "");
        } catch (const MachineSettingError& error) {
            return error.Number();
        }
        return 0L;
    };
    EXPECT_EQ(numberOf(" ", "S", "K"), kErrorEmptyAppName);
    EXPECT_EQ(numberOf("A", "", "K"), kErrorEmptySection);
    EXPECT_EQ(numberOf("A", "S", "  "), kErrorEmptyKey);

    const std::string path = machine.KeyPath("Grimsweep", "Settings");
    registry.CreateKey(RegistryRoot::LocalMachine, path);
    registry.SetValue(RegistryRoot::LocalMachine, path, "Count", RegistryValue::Dword(3));
    EXPECT_EQ(numberOf("Grimsweep", "Settings", "Count"), kErrorNotAString);

    registry.DenyAccess(RegistryRoot::LocalMachine, path, kKeyQueryValue);
    EXPECT_EQ(numberOf("Grimsweep", "Settings", "Count"), kErrorCannotOpenSection);
}

TEST_F(MachineSettingsTest, RefusedWriteAsksAndRetryRepeatsTheFailingStep) {
    DenyAllWrites();
    host.Answer(MessageBoxAnswer::Retry);
    host.Answer(MessageBoxAnswer::Abort);
    machine.WriteMachineSetting("Grimsweep", "Settings", "FirstTime", "Yes");
    ASSERT_EQ(host.Shown().size(), 2u);
    const auto& box = host.Shown()[0];
    EXPECT_EQ(box.title, "Permission Denied");
    EXPECT_EQ(box.buttons, MessageBoxButtons::AbortRetryIgnore);
    EXPECT_EQ(box.text.rfind("Grimsweep requires read/write access to the system registry", 0), 0u);
    EXPECT_NE(box.text.find("account.\r\n\r\nIf you would like to prevent"), std::string::npos);
    // Abort gives up without remembering anything.
    EXPECT_EQ(store.Read(settings::kSectionSettings, settings::kIgnorePermissionDenied, "0"), "0");
}

TEST_F(MachineSettingsTest, IgnoreSilencesTheDialogueForGood) {
    DenyAllWrites();
    host.Answer(MessageBoxAnswer::Ignore);
    machine.WriteMachineSetting("Grimsweep", "Settings", "FirstTime", "Yes");
    EXPECT_EQ(store.Read(settings::kSectionSettings, settings::kIgnorePermissionDenied, "0"), "1");
    machine.WriteMachineSetting("Grimsweep", "Settings", "showHelp", "0");
    EXPECT_EQ(host.Shown().size(), 1u);
}

TEST_F(MachineSettingsTest, RetrySucceedsOnceTheRightIsGranted) {
    // The administrator grants the right while the dialogue is open; Retry then stores the value.
    struct GrantingHost : HeadlessHost {
        sim::SimRegistry* registry = nullptr;
        MessageBoxAnswer ShowMessageBox(const MessageBoxRequest& request) override {
            registry->AllowAccess(RegistryRoot::LocalMachine, "SOFTWARE");
            return HeadlessHost::ShowMessageBox(request);
        }
    } granting;
    granting.registry = &registry;
    granting.Answer(MessageBoxAnswer::Retry);
    DenyAllWrites();
    MachineSettings retrying(registry, "Lanternfish Software", store, granting);
    retrying.WriteMachineSetting("Grimsweep", "Settings", "FirstTime", "Yes");
    EXPECT_EQ(granting.Shown().size(), 1u);
    EXPECT_EQ(retrying.ReadMachineSetting("Grimsweep", "Settings", "FirstTime", ""), "Yes");
}

} // namespace
} // namespace grimsweep
