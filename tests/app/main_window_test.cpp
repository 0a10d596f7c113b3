#include "app/main_window_controls.h"
#include "app/main_window_fixture.h"
#include "core/run_at_startup.h"
#include "ui/list_columns.h"

namespace grimsweep {
namespace {

using namespace settings;

TEST_F(MainWindowTest, FirstLoadWritesTheRunStateShowsStatusAndAsksForLiveUpdateOnce) {
    bool liveUpdateStarted = false;
    window->onStartLiveUpdate = [&] { liveUpdateStarted = true; };
    host->Answer(MessageBoxAnswer::Yes);
    window->Window().Show();

    EXPECT_EQ(Setting(kSectionOptions, kStatus), "RUNNING");
    EXPECT_EQ(Setting(kSectionOptions, kRestart), "False");
    EXPECT_EQ(Setting(kSectionOptions, kShow), "True");
    EXPECT_EQ(Setting(kSectionSettings, kLanguage), "English");
    EXPECT_EQ(Setting(kSectionOptions, kAutomaticUpdate), "1"); // written back by the start-up copy
    EXPECT_EQ(window->Window().Caption(), "[ProgramName] by [Company]");
    EXPECT_EQ(Control("cmdWebsite").Caption(), "Visit [Website]");
    EXPECT_EQ(Control("Label22").Caption(), "Welcome to [ProgramName]");
    EXPECT_EQ(Control(kStatusPanel).Caption(), "Grimsweep Status");
    EXPECT_TRUE(Control(kStatusPanel).Visible());
    for (auto panel : {kScanPanel, kResultsPanel, kOptionsPanel}) {
        EXPECT_FALSE(Control(panel).Visible()) << panel;
    }
    EXPECT_EQ(Control("lblDefVersion").Caption(), "3/16/2006 12:00:00 AM PST");
    EXPECT_EQ(Control("lblVersion").Caption(), "3.1");
    EXPECT_EQ(Control("lblLastScan").Caption(), "Never");
    EXPECT_FALSE(Control("shpCircle").Visible());
    EXPECT_TRUE(TimerOn("timUpdate"));

    ASSERT_EQ(host->Shown().size(), 1u);
    EXPECT_EQ(host->Shown()[0].title, "Update Now?");
    EXPECT_EQ(
        host->Shown()[0].text.rfind("Thank you for using [ProgramName]!\r\n\r\nBecause this is the first", 0),
        0u);
    EXPECT_TRUE(liveUpdateStarted);

    // The next start, even as another user of the machine, is not asked again.
    window->Window().RequestClose();
    ReleaseInstanceLock();
    sim.registry.DeleteKeyTree(RegistryRoot::CurrentUser, "Software\\Lanternfish Software");
    Start();
    window->Window().Show();
    EXPECT_EQ(host->Shown().size(), 0u);
}

TEST_F(MainWindowTest, StoredSettingsComeBackIntoTheControlsWithQuickScanAlwaysSelected) {
    context->settings.Write(kSectionOptions, kMakeLog, "0");
    context->settings.Write(kSectionOptions, kScanAllDrives, "True");
    context->settings.Write(kSectionOptions, kScanKnownOnly, "False");
    context->settings.Write(kSectionOptions, kMemoryShieldOn, "False");
    context->settings.Write(kSectionOptions, kMemoryShieldOff, "True");
    context->settings.Write(kSectionSettings, "FoundCol22", "2100");
    context->settings.Write(kSectionSettings, kMax, "1");
    Open();
    EXPECT_EQ(Control(kMakeLog).Value(), 0);
    EXPECT_EQ(Control(kScanKnownOnly).Value(), 1);
    EXPECT_EQ(Control(kScanAllDrives).Value(), 0);
    EXPECT_EQ(Setting(kSectionOptions, kScanKnownOnly), "True");
    EXPECT_EQ(Setting(kSectionOptions, kScanAllDrives), "False");
    EXPECT_FALSE(Control(kDriveList).Visible());
    EXPECT_EQ(Control("chkAutoProtect").Value(), 0);
    EXPECT_EQ(Control(kMemoryShieldOff).Value(), 1);
    EXPECT_EQ(Control(kRemovalList).Columns()[0].width, 1400);
    EXPECT_EQ(Control(kRemovalList).Columns()[1].width, 2100);
    EXPECT_EQ(window->Window().State(), ui::WindowState::Maximized);
}

TEST_F(MainWindowTest, TimersFollowTheWindowState) {
    Open();
    // Normal: the message pump timer runs, the scheduler and memory shield do not.
    EXPECT_TRUE(TimerOn("tmrScroll"));
    EXPECT_FALSE(TimerOn("tmrScheduler"));
    EXPECT_FALSE(TimerOn("tmrMemoryInspected"));
    EXPECT_TRUE(TimerOn("tmrCheckHomePage"));
    EXPECT_TRUE(window->Window().ShowInTaskList());

    for (auto state : {ui::WindowState::Minimized, ui::WindowState::Maximized}) {
        window->Window().SetState(state);
        EXPECT_FALSE(TimerOn("tmrScroll"));
        EXPECT_TRUE(TimerOn("tmrMemoryInspected"));
        EXPECT_FALSE(TimerOn("tmrScheduler")); // scheduled scans are off
        EXPECT_FALSE(window->Window().ShowInTaskList());
        window->Window().SetState(ui::WindowState::Normal);
    }
    context->settings.Write(kSectionOptions, kScheduledScans, "1");
    window->Window().SetState(ui::WindowState::Minimized);
    EXPECT_TRUE(TimerOn("tmrScheduler"));

    window->SetBackgroundTimers(false);
    for (auto timer : {"tmrCheckHomePage", "tmrMemoryInspected", "tmrScheduler", "tmrTimeOut"}) {
        EXPECT_FALSE(TimerOn(timer)) << timer;
    }
}

// The scan commands' labels would say the words of the buttons beside them a second time.
TEST_F(MainWindowTest, TheScanButtonsStandWithoutTheirLabels) {
    Open();
    for (const char* label : {"lblStart", "lblPause", "lblStop"}) {
        EXPECT_FALSE(Control(label).Visible()) << label;
    }
    EXPECT_TRUE(Control("cmdScanNow").Visible());
}

// Send to Tray and the caption's minimise button both put the program in the notification area.
TEST_F(MainWindowTest, SendToTrayAndBackRecordsWhereTheUserLeftTheProgram) {
    Open();
    for (const bool caption : {false, true}) {
        sim.shell.iconShown = false;
        if (caption) {
            window->Window().SetState(ui::WindowState::Minimized);
        } else {
            Control("Command5").Click();
        }
        EXPECT_FALSE(window->Window().Visible()) << caption;
        EXPECT_TRUE(sim.shell.iconShown) << caption;
        EXPECT_EQ(sim.shell.iconTip, "Grimsweep");
        EXPECT_TRUE(window->Tray().bRunningInTray);
        EXPECT_EQ(Setting(kSectionSettings, kMinimized), "Yes");

        // A double click on the icon restores the window.
        window->OnTrayMessage(kTrayLeftDoubleClick);
        EXPECT_TRUE(window->Window().Visible());
        EXPECT_EQ(window->Window().State(), ui::WindowState::Normal);
        EXPECT_EQ(Setting(kSectionSettings, kMinimized), "No");
    }

    // Left in the tray, the next start goes straight there without showing the window.
    Control("Command5").Click();
    window->Window().RequestClose();
    ReleaseInstanceLock();
    Start();
    window->Window().Show();
    EXPECT_FALSE(window->Window().Visible());
    EXPECT_TRUE(sim.shell.iconShown);
}

TEST_F(MainWindowTest, CloseRequestStoresTheStopWhileTheXLabelOnlyUnloads) {
    Open();
    Control("Command5").Click();
    window->Window().Show();
    Control("lblHide").Click();
    EXPECT_TRUE(host->quitRequested);
    EXPECT_EQ(Setting(kSectionOptions, kStatus), "RUNNING");
    EXPECT_TRUE(sim.shell.iconShown);
    EXPECT_EQ(Setting(kSectionSettings, "FoundCol21"), "1400");
    EXPECT_EQ(Setting(kSectionSettings, kMax), "0");

    ReleaseInstanceLock();
    Start();
    Open();
    Control("mnuFileExit").Click();
    EXPECT_TRUE(host->quitRequested);
    EXPECT_EQ(Setting(kSectionOptions, kStatus), "STOPPED");
    EXPECT_EQ(Setting(kSectionOptions, kRestart), "False");
    EXPECT_FALSE(sim.shell.iconShown);
}

TEST_F(MainWindowTest, ASecondInstanceEndsBeforeShowingAnything) {
    sim.system.heldLocks.insert("GRIMSWEEP");
    window->Window().Show();
    EXPECT_FALSE(window->Window().Visible());
    EXPECT_FALSE(window->Window().Loaded());
    EXPECT_TRUE(host->quitRequested);
    EXPECT_EQ(Setting(kSectionOptions, kStatus), "<unset>");
}

TEST_F(MainWindowTest, NavigationPanelsTabsAndMenus) {
    Open();
    Control("cmdScan").Click();
    EXPECT_TRUE(Control(kScanPanel).Visible());
    EXPECT_FALSE(Control(kStatusPanel).Visible());
    Control("cmdResults").Click();
    EXPECT_TRUE(Control(kResultsPanel).Visible());
    EXPECT_FALSE(Control("lblDeletingCaption").Visible());
    Control(std::string(kSettingsMenuItem), 2).Click();
    EXPECT_TRUE(Control(kOptionsPanel).Visible());
    EXPECT_EQ(Control(kTabStrip).SelectedTab(), 3);
    EXPECT_TRUE(Control(kOptionsPage, 2).Visible());
    EXPECT_FALSE(Control(kOptionsPage, 0).Visible());
    Control(kTabStrip).SelectTab(1);
    EXPECT_TRUE(Control(kOptionsPage, 0).Visible());
    EXPECT_FALSE(Control(kOptionsPage, 2).Visible());
    EXPECT_FALSE(Control("mnuDiagnostic").Visible());
    EXPECT_FALSE(Control("mnuContext").Visible());

    Control("mnuViewExclusions").Click(); // no exclusion file yet
    ASSERT_FALSE(host->Shown().empty());
    EXPECT_EQ(host->Shown().back().title, "No Exclusion File");
}

TEST_F(MainWindowTest, LayoutFollowsTheWindowSize) {
    Open();
    window->Window().Move(0, 0, 14400, 10800);
    const int width = window->Window().ScaleWidth();
    const ui::Bounds& website = Control("cmdWebsite").Position();
    EXPECT_EQ(website.left + website.width, width - 200);
    const ui::Bounds& status = Control(kStatusPanel).Position();
    for (auto panel : {kScanPanel, kResultsPanel, kOptionsPanel}) {
        EXPECT_EQ(Control(panel).Position().width, status.width);
        EXPECT_EQ(Control(panel).Position().left, status.left);
    }
    EXPECT_EQ(status.left, kNavigationLeft + kNavigationWidth + kPanelGap);
    EXPECT_EQ(Control(kOptionsPage, 1).Position().width, Control(kTabStrip).Position().width - 240);
    EXPECT_GT(Control(kTimerContainer).Position().top, window->Window().ScaleHeight());
    const ui::Bounds& list = Control("lvwSpywareFound").Position();
    EXPECT_EQ(list.left + list.width, status.width - kMargin);

    // Columns that no longer fit are shared a quarter, a half and a quarter.
    window->Window().Move(0, 0, 6600, 7200);
    const auto& columns = Control(kRemovalList).Columns();
    const int listWidth = Control(kRemovalList).Position().width;
    ASSERT_GT(4200, listWidth);
    EXPECT_EQ(columns[1].width, listWidth / 2);

    // A scan's results keep the widths that show them whole: the list scrolls sideways instead.
    ui::Control& removal = Control(kRemovalList);
    removal.AddRow(
        {"Cookie: root@www.pebblepop[2].txt", {"C:\\Users\\root\\AppData\\Roaming\\cookie.txt", ""}, 1});
    ui::FitColumnsToText(removal, 600);
    const int fitted = columns[1].width;
    EXPECT_GE(fitted, 40 * ui::kTwipsPerCharacter) << "the location whole";
    window->Window().Move(0, 0, 6000, 7200);
    EXPECT_EQ(columns[1].width, fitted);
}

// Each column widens to its widest text, counted in characters, and never narrows.
TEST(ListColumns, EachColumnTakesItsWidestTextAndNeverNarrows) {
    HeadlessHost host;
    ui::Form form(host, "frmColumns");
    ui::Control& list = form.Add("lvw", ui::ControlType::ListView);
    list.AddColumn("Threat", 1400);
    list.AddColumn("Location", 5000);
    list.AddRow({"Überwachung", {"C:\\x"}, 0});
    list.AddRow({"Gloom", {"C:\\y"}, 0});
    ui::FitColumnsToText(list, 600);
    EXPECT_EQ(list.Columns()[0].width, 11 * ui::kTwipsPerCharacter + ui::kCellPaddingTwips + 600)
        << "code points, not bytes";
    EXPECT_EQ(list.Columns()[1].width, 5000) << "a wide column stays";
}

} // namespace
} // namespace grimsweep
