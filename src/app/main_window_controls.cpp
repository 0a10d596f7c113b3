#include "app/main_window_controls.h"

#include <array>
#include <string>

namespace grimsweep {

namespace {

using ui::Control;
using ui::ControlType;

Control& Add(ui::Form& form, std::string name, ControlType type, Control* container, std::string caption,
             int left, int top, int width, int height, int index = -1) {
    Control& control = form.Add(std::move(name), type, container, index);
    control.SetCaption(std::move(caption));
    control.Move(left, top, width, height);
    return control;
}

Control& AddTimer(ui::Form& form, Control* container, std::string name, int interval, bool enabled) {
    Control& timer = form.Add(std::move(name), ControlType::Timer, container);
    timer.SetInterval(interval);
    timer.SetEnabled(enabled);
    return timer;
}

Control& AddMenu(ui::Form& form, Control* parent, std::string name, std::string caption, int index = -1) {
    Control& menu = form.Add(std::move(name), ControlType::Menu, parent, index);
    menu.SetCaption(std::move(caption));
    return menu;
}

void AddSeparator(ui::Form& form, Control* parent, std::string name) {
    AddMenu(form, parent, std::move(name), "-").SetSeparator(true);
}

void BuildNavigation(ui::Form& form) {
    const std::array<std::pair<const char*, const char*>, 7> buttons = {{{"cmdStatus", "Status"},
                                                                         {"cmdScan", "Scan Now"},
                                                                         {"cmdSettings", "Settings"},
                                                                         {"cmdResults", "Results/Removal"},
                                                                         {"cmdLog", "View Log"},
                                                                         {"cmdUpdate", "Live Update"},
                                                                         {"Command5", "Send to Tray"}}};
    int top = 240;
    for (const auto& [name, caption] : buttons) {
        Add(form, name, ControlType::CommandButton, nullptr, caption, kNavigationLeft, top, kNavigationWidth,
            450);
        top += 540;
    }
    Add(form, "cmdWebsite", ControlType::CommandButton, nullptr, "", kNavigationLeft, 6600, 9600, 420);
    Add(form, "lblHide", ControlType::Label, nullptr, "X", 9720, 0, 240, 240);
}

void BuildStatusPanel(ui::Form& form, Control* panel) {
    Add(form, "Label22", ControlType::Label, panel, "", kMargin, 240, 7200, 480).SetBold(true);
    form.Add("SkinLabel1", ControlType::SkinLabel, panel, 0).SetVisible(false);
    const std::array<std::pair<const char*, const char*>, 6> rows = {
        {{"lblDefVersion", "Your definitions were last updated:"},
         {"lblDefCount", "You are protected against this many Adware/Spyware traces:"},
         {"lblVersion", "This program's version number is:"},
         {"lblDefRemoved", "You have removed this many adware and spyware traces:"},
         {"lblLastScan", "Your last scan was completed:"},
         {"lblLastFullScan", "Your last full system scan was completed:"}}};
    int top = 1080;
    int index = 0;
    for (const auto& [value, caption] : rows) {
        Add(form, "lblStatusCaption", ControlType::Label, panel, caption, kMargin, top, 4560, 480, index++);
        Add(form, value, ControlType::Label, panel, "", 4920, top, 2640, 480);
        top += 600;
    }
}

void BuildScanPanel(ui::Form& form, Control* panel) {
    form.Add("SkinLabel2", ControlType::SkinLabel, panel, 0).SetVisible(false);
    Add(form, "cmdScanNow", ControlType::CommandButton, panel, "Start", kMargin, 240, 1200, 420);
    Add(form, "cmdPause", ControlType::CommandButton, panel, "Pause", 1560, 240, 1200, 420).SetEnabled(false);
    Add(form, "cmdStop", ControlType::CommandButton, panel, "Stop", 2880, 240, 1200, 420).SetEnabled(false);
    Add(form, "lblStart", ControlType::Label, panel, "Start Scan", 4320, 300, 960, 300);
    Add(form, "lblPause", ControlType::Label, panel, "Pause", 5340, 300, 840, 300);
    Add(form, "lblStop", ControlType::Label, panel, "Stop", 6240, 300, 840, 300);
    Add(form, "shpCircle", ControlType::Shape, panel, "", 7140, 240, 360, 360);
    Add(form, "lblStatus", ControlType::Label, panel, "", kMargin, 840, 7320, 600);
    // The stage bar, the share of the definitions done, and the overall bar.
    Add(form, "pb1", ControlType::ProgressBar, panel, "", kMargin, 1480, 7320, 180);
    Add(form, "pb2", ControlType::ProgressBar, panel, "", kMargin, 1700, 7320, 180);
    Add(form, "pbgMain", ControlType::ProgressBar, panel, "", kMargin, 1920, 7320, 180);
    Add(form, "lblPercentageCompleted", ControlType::Label, panel, "", kMargin, 2150, 7320, 280);
    const std::array<std::pair<const char*, const char*>, 6> counters = {
        {{"lblMemoryInspected", "Cookies and processes inspected:"},
         {"lblRegistryInspected", "Registry entries inspected:"},
         {"lblFilesFolderInspected", "Files and folders inspected:"},
         {"lblSoftwareFound", "Threats found:"},
         {"lbltracesFound", "Traces found:"},
         {"lblTotalNoOfRunningItems", "Programs running:"}}};
    int index = 0;
    for (const auto& [value, caption] : counters) {
        const int column = index / 3;
        const int top = 2520 + (index % 3) * 330;
        Add(form, "lblCounterCaption", ControlType::Label, panel, caption, kMargin + column * 3720, top, 2640,
            300, index);
        Add(form, value, ControlType::Label, panel, "0", kMargin + column * 3720 + 2700, top, 900, 300);
        ++index;
    }
    // The longest caption takes all the width before its value and, from the bar above down to the row
    // below, the height of two lines, which it needs with wider fonts.
    form.Get("lblCounterCaption", 0).Move(kMargin, 2460, 2700, 390);
    Control& found =
        Add(form, "lvwSpywareFound", ControlType::ListView, panel, "", kMargin, 3600, 7320, 1860);
    found.AddColumn("Found", 7000);
    // Offered below the list when a scan has ended: it leads to the Results panel.
    Add(form, "cmdRemove", ControlType::CommandButton, panel, "Click Here to Continue", 5160, 5580, 2400, 420)
        .SetVisible(false);
}

void BuildResultsPanel(ui::Form& form, Control* panel) {
    form.Add("SkinLabel3", ControlType::SkinLabel, panel, 0).SetVisible(false);
    Add(form, "lblRemovePicSoftwareFound", ControlType::Label, panel, "", kMargin, 240, 7320, 300);
    Control& list =
        Add(form, std::string(kRemovalList), ControlType::ListView, panel, "", kMargin, 600, 7320, 3960);
    list.SetCheckBoxes(true);
    list.AddColumn("Threat", 1400);
    list.AddColumn("Location", 1400);
    list.AddColumn("Details", 1400);
    Add(form, "cmdSelectAll", ControlType::CommandButton, panel, "Select All", kMargin, 4680, 1320, 420);
    Add(form, "cmdExclude", ControlType::CommandButton, panel, "Exclude", 1680, 4680, 1320, 420);
    Add(form, "Command4", ControlType::CommandButton, panel, "Delete", 3120, 4680, 1320, 420);
    Add(form, "lblViewLogFile", ControlType::Label, panel, "Show Report", 6360, 4740, 1200, 300);
    Add(form, "lblDeletingCaption", ControlType::Label, panel, "", kMargin, 5220, 7320, 300);
    Add(form, "pgbDeleteSpywaresFound", ControlType::ProgressBar, panel, "", kMargin, 5580, 7320, 240);
    Add(form, "lblDeletingPercentageCompleted", ControlType::Label, panel, "", kMargin, 5880, 7320, 300);
}

void BuildOptionsPanel(ui::Form& form, Control* panel) {
    Control& tabs = Add(form, std::string(kTabStrip), ControlType::TabStrip, panel, "", 0, 0, 7800, 6300);
    for (const char* caption : {"Scan Options", "Proactive Protection", "Schedule", "Auto Update"}) {
        tabs.AddTab(caption);
    }
    std::array<Control*, 4> pages{};
    for (int i = 0; i < 4; ++i) {
        pages[static_cast<std::size_t>(i)] =
            &Add(form, std::string(kOptionsPage), ControlType::Frame, panel, "", 120, 360, 7560, 5880, i);
        pages[static_cast<std::size_t>(i)]->SetVisible(i == 0);
    }
    form.Add("SkinLabel4", ControlType::SkinLabel, pages[0], 0).SetVisible(false);

    // Scan Options.
    Control* scan = pages[0];
    Add(form, "chkSweepMemory", ControlType::CheckBox, scan, "Scan Proccesses and Files", kMargin, 240, 5400,
        300);
    Add(form, "chkScanRegistry", ControlType::CheckBox, scan, "Scan Windows Registry", kMargin, 600, 5400,
        300);
    Add(form, "chkScanCookies", ControlType::CheckBox, scan, "Scan Internet Cookies", kMargin, 960, 5400,
        300);
    Add(form, "chkMakeLog", ControlType::CheckBox, scan, "Save scan results to log", kMargin, 1320, 5400,
        300);
    Add(form, "chkSendData", ControlType::CheckBox, scan,
        "Send anonymous data to help identify unknown spyware", kMargin, 1680, 7080, 300);
    Add(form, "chkRunAtStartup", ControlType::CheckBox, scan,
        "Run at Startup and protect my computer automatically", kMargin, 2040, 7080, 300);
    Control& scanType =
        Add(form, "fraScanType", ControlType::Frame, scan, "Scan type", kMargin, 2520, 7080, 1080);
    Add(form, "optScanOnlyKnownSoftwares", ControlType::OptionButton, &scanType, "Quick Scan", kMargin, 300,
        3000, 300);
    Add(form, "optScanAllSelectedHardDrive", ControlType::OptionButton, &scanType, "Complete System Scan",
        kMargin, 660, 3000, 300);
    Control& drives =
        Add(form, std::string(kDriveList), ControlType::ListView, scan, "", kMargin, 3720, 3000, 1800);
    drives.SetCheckBoxes(true);
    drives.AddColumn("Drive", 2700);
    // A file name submitted by hand to the collection service, beside the drive list.
    constexpr int kSubmitLeft = 3480;
    Add(form, "txtFilename", ControlType::TextBox, scan, "", kSubmitLeft, 3720, 3840, 315);
    Add(form, "Command2", ControlType::CommandButton, scan, "Browse", kSubmitLeft, 4140, 1200, 420);
    Add(form, "cmdSubmit", ControlType::CommandButton, scan, "Submit", kSubmitLeft + 1320, 4140, 1200, 420);
    Add(form, "Label26", ControlType::Label, scan, "", kSubmitLeft, 4680, 3840, 840);
    // Opens the language window.
    Add(form, "cmdLanguage", ControlType::CommandButton, scan, "Language...", 5760, 240, 1560, 420);

    // Proactive Protection.
    Control* shields = pages[1];
    Control& memory =
        Add(form, "fraMemoryShield", ControlType::Frame, shields, "Memory shield", kMargin, 240, 7080, 1440);
    Add(form, "chkAutoProtect", ControlType::CheckBox, &memory, "Enable", kMargin, 300, 3000, 300);
    Add(form, "optMemorySheildOn", ControlType::OptionButton, &memory, "Enabled", kMargin, 660, 3000, 300);
    Add(form, "optMemorySheildOff", ControlType::OptionButton, &memory, "Disabled", kMargin, 1020, 3000, 300);
    Control& home = Add(form, "fraHomePageShield", ControlType::Frame, shields, "Home page shield", kMargin,
                        1800, 7080, 2880);
    Add(form, "chkHomePage", ControlType::CheckBox, &home, "Enable", kMargin, 300, 3000, 300);
    Add(form, "optIEHomePageSheildOn", ControlType::OptionButton, &home, "Enabled", kMargin, 660, 3000, 300);
    Add(form, "optIEHomePageSheildOff", ControlType::OptionButton, &home, "Disabled", kMargin, 1020, 3000,
        300);
    Control& restore = Add(form, "fraRestore", ControlType::Frame, &home, "When the home page changes",
                           kMargin, 1440, 6600, 1200);
    Add(form, "optAlwaysnotifybeforerestoring", ControlType::OptionButton, &restore,
        "Ask me what I would like to do", kMargin, 300, 6120, 300);
    Add(form, "optRestoredefaultwithoutnotification", ControlType::OptionButton, &restore,
        "Silently restore my original home page", kMargin, 660, 6120, 300);

    // Schedule.
    Control* schedule = pages[2];
    Add(form, "chkAutomaticScanYesOrNo", ControlType::CheckBox, schedule, "Enable Scheduled Scans", kMargin,
        240, 5400, 300);
    Add(form, "lblScheduleDay", ControlType::Label, schedule, "Day:", kMargin, 720, 1200, 300);
    Add(form, "cmbDays", ControlType::ComboBox, schedule, "", 1560, 660, 2400, 315);
    Add(form, "lblScheduleDate", ControlType::Label, schedule, "Date:", kMargin, 1200, 1200, 300);
    Add(form, "dtpScheduleDate", ControlType::DatePicker, schedule, "", 1560, 1140, 2400, 315);
    Add(form, "lblScheduleTime", ControlType::Label, schedule, "Time:", kMargin, 1680, 1200, 300);
    Add(form, "dtpScheduleTime", ControlType::TimePicker, schedule, "", 1560, 1620, 2400, 315);
    Add(form, "CmdProceed", ControlType::CommandButton, schedule, "Apply", 1560, 2220, 1200, 420);
    Add(form, "cmdReset", ControlType::CommandButton, schedule, "Reset", 2880, 2220, 1200, 420);
    Add(form, "chkAutoDel", ControlType::CheckBox, schedule,
        "Delete spyware automatically after scheduled scan", kMargin, 2880, 7080, 300);

    // Auto Update.
    Control* update = pages[3];
    Add(form, "chkAutomaticUpdate", ControlType::CheckBox, update,
        "Enable automatic Live update (recommended)", kMargin, 240, 7080, 300);
    Add(form, "lblLastUpdate", ControlType::Label, update, "", kMargin, 720, 7080, 300);
    Add(form, "cmdLiveUpdate", ControlType::CommandButton, update, "Run Live Update Now", kMargin, 1200, 2400,
        420);
    // Shown only while no definition key is set.
    Add(form, "lblUnverified", ControlType::Label, update,
        "Updates are not verified: Grimsweep.ini names no definition key (DefinitionKey).", kMargin, 1860, 7080,
        600);
}

void BuildMenus(ui::Form& form) {
    Control* file = &AddMenu(form, nullptr, "mnuFile", "File");
    AddMenu(form, file, "mnuFileScanNow", "Scan Now");
    AddMenu(form, file, "mnuFileResults", "Scan Results");
    AddSeparator(form, file, "mnuFileSep1");
    AddMenu(form, file, "mnuFileViewLog", "View Log");
    AddMenu(form, file, "mnuFileUpdate", "Run Live Update");
    AddSeparator(form, file, "mnuFileSep2");
    AddMenu(form, file, "mnuFileTray", "Minimize to Tray");
    AddSeparator(form, file, "mnuFileSep3");
    AddMenu(form, file, "mnuFileExit", "Exit");

    Control* settings = &AddMenu(form, nullptr, "mnuSettings", "Settings");
    int index = 0;
    for (const char* caption : {"Scan Options", "Proactive Protection", "Schedule", "Auto Update"}) {
        AddMenu(form, settings, std::string(kSettingsMenuItem), caption, index++);
    }
    Control* quarantine = &AddMenu(form, nullptr, "mnuQuarantine", "Quarantine");
    AddMenu(form, quarantine, "mnuViewQuarantine", "View Quarantine");
    AddMenu(form, quarantine, "mnuViewExclusions", "View Exclusions");
    AddMenu(form, quarantine, "mnuRestoreQuarantine", "Restore...");
    AddMenu(form, &AddMenu(form, nullptr, "mnuHelp", "Help"), "mnuViewHelp", "View Help");
    AddMenu(form, &AddMenu(form, nullptr, "mnuAbout", "About"), "mnuAboutSoftware", "About this software");

    Control& context = AddMenu(form, nullptr, "mnuContext", "Context");
    context.SetVisible(false);
    AddMenu(form, &context, "mnuFileProperties", "File Properties");
    Control& diagnostic = AddMenu(form, nullptr, "mnuDiagnostic", "Diagnostic");
    diagnostic.SetVisible(false);
    AddMenu(form, &diagnostic, "mnuShowHomepageChanged", "Show Homepage Changed");
    AddMenu(form, &diagnostic, "mnuShowSignatureUpdated", "Show SignatureUpdated");
    AddMenu(form, &diagnostic, "mnuShowSpywareFound", "Show SpywareFound");
}

void BuildTimerContainer(ui::Form& form) {
    // Lies below the visible area and is never hidden, so its timers run in every window state.
    Control* container =
        &Add(form, std::string(kTimerContainer), ControlType::Frame, nullptr, "", 0, 9000, 9600, 2400);
    for (const char* list :
         {"lvwFilesToBeDeleted", "lvwRegistryToBeDeleted", "lvwCookiesToDelete", "lvwFileNotFounds"}) {
        Control& hidden = Add(form, list, ControlType::ListView, container, "", 0, 0, 3000, 1200);
        hidden.SetCheckBoxes(true);
    }
    AddTimer(form, container, "tmrScroll", 200, true);
    AddTimer(form, container, "tmrScheduler", 10, true);
    AddTimer(form, container, "tmrCheckHomePage", 5000, true);
    AddTimer(form, container, "tmrMemoryInspected", 10000, true);
    AddTimer(form, container, "timUpdate", 1000, false);
    AddTimer(form, container, "tmrTime", 1000, true);
    AddTimer(form, container, "tmrCheckSignature", 60000, false);
    AddTimer(form, container, "tmrTimeOut", 30000, true);
}

} // namespace

void BuildMainWindowControls(ui::Form& form) {
    form.SetCaption(std::string(kMainWindowInitialCaption));
    form.Move(0, 0, 10200, 7800);
    BuildNavigation(form);
    const int panelLeft = kNavigationLeft + kNavigationWidth + kPanelGap;
    for (std::string_view name : {kStatusPanel, kScanPanel, kResultsPanel, kOptionsPanel}) {
        Add(form, std::string(name), ControlType::Frame, nullptr, "", panelLeft, 120, 7800, 6300);
    }
    BuildStatusPanel(form, &form.Get(kStatusPanel));
    BuildScanPanel(form, &form.Get(kScanPanel));
    BuildResultsPanel(form, &form.Get(kResultsPanel));
    BuildOptionsPanel(form, &form.Get(kOptionsPanel));
    form.Add("SkinLabel5", ControlType::SkinLabel, nullptr, 0).SetVisible(false);
    form.Add("SkinLabel6", ControlType::SkinLabel, nullptr, 0).SetVisible(false);
    BuildMenus(form);
    BuildTimerContainer(form);
}

} // namespace grimsweep
