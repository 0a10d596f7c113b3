#include "app/main_window_controls.h"
#include "app/main_window_fixture.h"
#include "core/run_at_startup.h"

namespace grimsweep {
namespace {

using namespace settings;

TEST_F(MainWindowTest, RunAtStartupWritesAndDeletesTheRunValue) {
    Open();
    const std::string runKey(kRunKeyPath);
    EXPECT_FALSE(sim.registry.Value(RegistryRoot::LocalMachine, runKey, "grimsweep").has_value());
    Control(kRunAtStartup).Click();
    EXPECT_EQ(Setting(kSectionOptions, kRunAtStartup), "1");
    auto value = sim.registry.Value(RegistryRoot::LocalMachine, runKey, "grimsweep");
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->text, "\"C:\\Program Files\\Grimsweep\\grimsweep\"");
    Control(kRunAtStartup).Click();
    EXPECT_EQ(Setting(kSectionOptions, kRunAtStartup), "0");
    EXPECT_FALSE(sim.registry.Value(RegistryRoot::LocalMachine, runKey, "grimsweep").has_value());
}

TEST_F(MainWindowTest, ShieldControlsStoreBothKeysAndDriveTheirTimers) {
    Open();
    window->Window().SetState(ui::WindowState::Minimized); // the shields run in the background
    ASSERT_TRUE(TimerOn("tmrMemoryInspected"));

    Control("chkAutoProtect").Click();
    EXPECT_EQ(Setting(kSectionOptions, kMemoryShieldOn), "False");
    EXPECT_EQ(Setting(kSectionOptions, kMemoryShieldOff), "True");
    EXPECT_FALSE(TimerOn("tmrMemoryInspected"));
    Control(kMemoryShieldOn).Click();
    EXPECT_EQ(Setting(kSectionOptions, kMemoryShieldOn), "True");
    EXPECT_EQ(Setting(kSectionOptions, kMemoryShieldOff), "False");
    EXPECT_TRUE(TimerOn("tmrMemoryInspected"));

    Control("chkHomePage").Click();
    EXPECT_EQ(Setting(kSectionOptions, kHomePageShieldOn), "False");
    EXPECT_FALSE(TimerOn("tmrCheckHomePage"));
    EXPECT_FALSE(Control(kAskBeforeRestoring).Enabled());
    Control(kHomePageShieldOn).Click();
    EXPECT_TRUE(TimerOn("tmrCheckHomePage"));
    EXPECT_TRUE(Control(kRestoreSilently).Enabled());
    Control(kRestoreSilently).Click();
    EXPECT_EQ(Setting(kSectionOptions, kRestoreSilently), "True");
    EXPECT_EQ(Setting(kSectionOptions, kAskBeforeRestoring), "False");
}

TEST_F(MainWindowTest, CheckBoxesScanTypeScheduleAndDrivesStoreTheirKeys) {
    Open();
    Control(kScanCookies).Click();
    EXPECT_EQ(Setting(kSectionOptions, kScanCookies), "0");
    Control(kAutoDelete).Click();
    EXPECT_EQ(Setting(kSectionSettings, kAutoDelete), "1");

    Control(kScanAllDrives).Click();
    EXPECT_EQ(Setting(kSectionOptions, kScanAllDrives), "True");
    EXPECT_EQ(Setting(kSectionOptions, kScanKnownOnly), "False");
    EXPECT_TRUE(Control(kDriveList).Visible());

    EXPECT_FALSE(Control("cmbDays").Enabled());
    Control(kScheduledScans).Click();
    EXPECT_TRUE(Control("dtpScheduleTime").Enabled());
    EXPECT_EQ(Setting(kSectionOptions, kScheduledScans), "<unset>") << "Apply stores the schedule";
    Control("CmdProceed").Click();
    EXPECT_EQ(Setting(kSectionOptions, kScheduledScans), "1");

    ui::Control& drives = Control(kDriveList);
    drives.ClearRows(); // in place of the simulated machine's own drives
    drives.AddRow({"C", {}, 0, true});
    drives.AddRow({"D", {}, 0, true});
    drives.SetRowChecked(1, false);
    EXPECT_EQ(Setting(kSectionDrives, "C"), "True");
    EXPECT_EQ(Setting(kSectionDrives, "D"), "False");
}

TEST_F(MainWindowTest, DrivesNeverSeenStartTickedAndStoredOnesComeBack) {
    context->settings.Write(kSectionDrives, "D", "False");
    ui::Control& drives = Control(kDriveList);
    drives.AddRow({"C", {}, 0, false});
    drives.AddRow({"D", {}, 0, false});
    Open();
    EXPECT_TRUE(drives.Rows()[0].checked);
    EXPECT_FALSE(drives.Rows()[1].checked);
}

// A standard user's first start: the machine's key is read-only, so the first-run mark goes to the
// user's own key; no Permission Denied now, and no Live Update question at the next start.
TEST_F(MainWindowTest, AStandardUsersFirstRunMarkIsKeptInTheirOwnKey) {
    sim.registry.DenyAccess(RegistryRoot::LocalMachine, "SOFTWARE", kKeySetValue | kKeyCreateSubKey);
    host->Answer(MessageBoxAnswer::No);
    window->Window().Show();
    ASSERT_EQ(host->Shown().size(), 1u);
    EXPECT_EQ(host->Shown()[0].title, "Update Now?");
    EXPECT_EQ(
        context->machineSettings.ReadMachineSetting(context->brand.programName, "Settings", "FirstTime", ""),
        "Yes");
}

TEST_F(MainWindowTest, AControlWhoseHandlerFailsDoesNotKeepTheLaterSettingsOut) {
    context->settings.Write(kSectionOptions, kScanCookies, "0");
    context->settings.Write(kSectionSettings, std::string(kFoundColumnPrefix) + "1", "2222");
    context->settings.Write(kSectionSettings, kMax, "1");
    Control(kMakeLog).onClick = [] { throw std::runtime_error("handler failed"); };
    Open();
    EXPECT_EQ(Control(kScanCookies).Value(), 0);
    EXPECT_EQ(Control(kRemovalList).Columns()[0].width, 2222);
    EXPECT_EQ(window->Window().State(), ui::WindowState::Maximized);
    EXPECT_NE(Control("lblLastUpdate").Caption().find("Signatures Last Updated On "), std::string::npos);
}

} // namespace
} // namespace grimsweep
