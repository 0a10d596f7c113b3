#include "app/main_window.h"

#include <stdexcept>
#include <utility>

#include "app/main_window_controls.h"
#include "common/attempt.h"
#include "core/settings_keys.h"
#include "definitions/definition_status.h"
#include "definitions/exclusion_commands.h"
#include "definitions/exclusion_list.h"
#include "removal/quarantine_folder.h"
#include "scan/drive_list.h"
#include "scan/standard_stages.h"
#include "shell/help_launcher.h"
#include "shell/skin.h"
#include "ui/ui_host.h"
#include "update/definition_addresses.h"

namespace grimsweep {

namespace {

using namespace settings;

constexpr std::string_view kHiddenWindowName = "frmHidden";

// Digit grouping as the Status panel shows counts ("12,345").
std::string Grouped(std::int32_t value) {
    std::string digits = std::to_string(value < 0 ? -static_cast<std::int64_t>(value) : value);
    for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3) {
        digits.insert(static_cast<std::size_t>(i), ",");
    }
    return value < 0 ? "-" + digits : digits;
}

} // namespace

MainWindow::MainWindow(Context& context)
    : context_(context), tray_(context.machine.shell), form_(context.host, std::string(kMainWindowName)),
      hiddenForm_(context.host, std::string(kHiddenWindowName)), languages_(context),
      about_(context, skin_, [this] { OpenWebsite(); }), websiteOpener_(context),
      popup_(context, skin_, form_) {
    skin_.resetRegion = NeedsRegionReset(context_.machine.system.GetOsVersion());
    BuildMainWindowControls(form_);
    scanLists_ = std::make_unique<ScanLists>(form_);
    scanDriver_ = std::make_unique<ScanDriver>(context_, definitions_, form_, *scanLists_, scanState_);
    removal_ = std::make_unique<RemovalEngine>(context_, form_, *scanLists_, busy_, skin_);
    restore_ = std::make_unique<RestoreWindow>(context_, skin_, busy_);
    liveUpdate_ = std::make_unique<LiveUpdate>(context_, form_, skin_, tray_, busy_);
    memoryShield_ = std::make_unique<MemoryShield>(context_, skin_, *scanDriver_, definitions_, busy_, form_);
    startPageShield_ = std::make_unique<StartPageShield>(context_, skin_, form_);
    dataSubmission_ = std::make_unique<DataSubmission>(context_, form_);
    reportWindow_ = std::make_unique<ReportWindow>(context_, skin_);
    languageWindow_ = std::make_unique<LanguageWindow>(context_, skin_, languages_);
    WireCommands();
    WireScanCommands();
    WireRemovalCommands();
    WireUpdateCommands();
    WireMemoryShield();
    WireStartPageShield();
    WireOptionHandlers();
    WireScheduler();
    WireDataSubmission();
    WireReport();
    WireLanguages();
    form_.onLoad = [this] { OnLoad(); };
    form_.onResize = [this] { OnResize(); };
    form_.onCloseRequest = [this] { return OnCloseRequest(); };
    form_.onUnload = [this] { OnUnload(); };
    form_.onMouseMove = [this](int x) {
        OnTrayMessage(TrayMessageOfMouseX(x, context_.host.TwipsPerPixelX()));
    };
    popup_.onShowProgram = [this] {
        form_.SetState(ui::WindowState::Normal);
        form_.Show();
    };
    popup_.onExitProgram = [this] {
        context_.settings.Write(kSectionOptions, kRestart, kFalse);
        context_.settings.Write(kSectionOptions, kStatus, kStatusStopped);
        tray_.RemoveIcon(form_);
        form_.Unload();
    };
    websiteOpener_.onClosed = [this] { EndProgramWhenAllClosed(); };
}

MainWindow::~MainWindow() = default;

bool MainWindow::ScanRunning() const {
    return !form_.Get("cmdScan").Enabled();
}

void MainWindow::OnLoad() {
    // A failure in the first nine steps aborts the load and ends the program; later steps are skipped
    // one by one when they fail.
    bool started = false;
    try {
        started = LoadFirstSteps();
    } catch (const std::exception&) {
        started = false;
    }
    if (!started) {
        unloaded_ = true;
        form_.Unload();
        context_.host.Quit();
        return;
    }
    LoadRemainingSteps();
}

bool MainWindow::LoadFirstSteps() {
    const BrandValues& brand = context_.brand;
    // 1. Window icon (the region reset before skinning is the renderer's, on Vista and later).
    form_.SetIconResource(std::string(kWindowIconResource));
    // 2. Data folder.
    context_.EstablishDataFolder();
    // 3. Language and message catalogue.
    LoadLanguage();
    // 4. A second instance ends at once, before it shows anything.
    if (!context_.machine.system.AcquireSingleInstanceLock(brand.programName)) {
        return false;
    }
    // 5.-8. Definitions and exclusions; a new user of the machine starts from the shipped ones.
    FillFromSharedDefinitions(context_.machine.files, context_.dataFolder,
                              context_.ApplicationFile(kSharedDefinitionsFolder));
    InstallPendingDefinitions(context_.machine.files, context_.dataFolder);
    definitions_.counts = CountDefinitions(context_.machine.files, context_.dataFolder);
    definitionsTotal_ = definitions_.counts.total;
    RefreshStatusPanel();
    LoadExclusions(context_, definitions_.exclusions);
    // 9. The Status panel first.
    HideAllPanels();
    Control(kStatusPanel).SetCaption(context_.Message("MSG_STATUS_TITLE"));
    Control(kStatusPanel).SetVisible(true);
    return true;
}

void MainWindow::LoadRemainingSteps() {
    const BrandValues& brand = context_.brand;
    // 10. The single-instance test again.
    Attempt([&] {
        if (!context_.machine.system.AcquireSingleInstanceLock(brand.programName)) {
            throw std::runtime_error("another instance");
        }
    });
    // 11.
    Attempt([&] {
        context_.settings.Write(kSectionOptions, kStatus, kStatusRunning);
        context_.settings.Write(kSectionOptions, kRestart, kFalse);
    });
    // 12.
    Attempt([&] { hiddenForm_.Load(); });
    // 13.
    Attempt([&] {
        ApplyCatalogueTexts();
        Control("shpCircle").SetVisible(false);
        form_.SetShowInTaskList(false);
    });
    // 14.
    Attempt([&] { SetBackgroundTimers(false); });
    // 15. The drive list, then the settings into the controls (the schedule controls are filled by
    //     their own part once it exists).
    Attempt([&] { ListDrives(context_.machine.files, context_.host, Control(kDriveList)); });
    Attempt([&] { ApplySettingsToControls(); });
    // 16.
    Attempt([&] {
        Control("tmrScroll").SetEnabled(false);
        SetBackgroundTimers(true);
        Control("tmrScroll").SetEnabled(false);
    });
    // 17.
    Attempt([&] {
        ui::Form& problems = removal_->Problems().Window();
        problems.Load();
        problems.Hide();
    });
    // 18. Skin and welcome text.
    Attempt([&] {
        // The scan commands' labels stood in for buttons a skin drew without captions. This program's skin
        // colours real buttons that carry their own words, which the labels would only say twice.
        for (std::string_view label : {"lblStart", "lblPause", "lblStop"}) {
            Control(label).SetVisible(false);
        }
        if (brand.skinningEnabled) {
            ApplySkin(form_, skin_);
        }
        Control("Label22").SetCaption(context_.messages.getMessages(kMsgCaption2));
    });
    // 19.
    Attempt([&] { ShowHelpOnFirstStart(); });
    // 20.
    Attempt([&] {
        if (context_.settings.ReadNumber(kSectionOptions, kAutomaticUpdate, kAutomaticUpdateStartDefault) ==
            1) {
            Control("timUpdate").SetEnabled(true);
        }
    });
    // 21.
    Attempt([&] {
        if (context_.settings.Read(kSectionSettings, kMinimized, kMinimizedDefault) == kMinimizedYes) {
            SendToTray();
        }
    });
    // 22.
    Attempt([&] { AskFirstRunQuestion(); });
}

void MainWindow::ShowHelpOnFirstStart() {
    if (context_.settings.Read(kSectionSettings, kShowHelp, kShowHelpDefault) == "1") {
        ShowHelp(context_);
        context_.host.PumpMessages();
    }
}

void MainWindow::AskFirstRunQuestion() {
    MachineSettings& machine = context_.machineSettings;
    const std::string& name = context_.brand.programName;
    if (!machine.ReadMachineSetting(name, std::string(kSectionSettings), std::string(kMachineFirstTime), "")
             .empty()) {
        return;
    }
    machine.WriteMachineSetting(name, std::string(kSectionSettings), std::string(kMachineFirstTime),
                                std::string(kMachineFirstTimeDone));
    const MessageCatalogue& messages = context_.messages;
    MessageBoxRequest question;
    question.text = messages.getMessages(kMsgThank1) + "\r\n\r\n" + messages.getMessages(kMsgThank2) +
                    "\r\n\r\n" + messages.getMessages(kMsgThank3);
    question.title = messages.getMessages(kMsgThank4);
    question.buttons = MessageBoxButtons::YesNo;
    question.icon = MessageBoxIcon::Question;
    if (context_.host.ShowMessageBox(question) == MessageBoxAnswer::Yes && onStartLiveUpdate) {
        onStartLiveUpdate();
    }
}

void MainWindow::SetBackgroundTimers(bool on) {
    auto set = [&](std::string_view timer, bool enabled) {
        if (ui::Control* control = form_.Find(timer)) {
            control->SetEnabled(enabled);
        }
    };
    if (!on) {
        for (std::string_view timer :
             {"tmrCheckHomePage", "tmrMemoryInspected", "tmrScheduler", "tmrTimeOut"}) {
            set(timer, false);
        }
        return;
    }
    const SettingsStore& store = context_.settings;
    set("tmrScheduler", store.ReadNumber(kSectionOptions, kScheduledScans, kScheduledScansDefault) != 0);
    set("tmrCheckHomePage", store.ReadTruth(kSectionOptions, kHomePageShieldOn, kHomePageShieldOnDefault));
    set("tmrMemoryInspected", store.ReadTruth(kSectionOptions, kMemoryShieldOn, kMemoryShieldOnDefault));
    // The time-out timer goes off with the others; nothing switches it back on.
}

void MainWindow::HideAllPanels() {
    for (std::string_view name : {kOptionsPanel, kScanPanel, kResultsPanel, kStatusPanel}) {
        Control(name).SetVisible(false);
    }
    for (std::string_view name :
         {"pgbDeleteSpywaresFound", "lblDeletingPercentageCompleted", "lblDeletingCaption"}) {
        Control(name).SetVisible(false);
    }
}

void MainWindow::ShowPanel(std::string_view panel) {
    HideAllPanels();
    Control(panel).SetVisible(true);
}

void MainWindow::RefreshStatusPanel() {
    const SettingsStore& store = context_.settings;
    Control("lblDefCount").SetCaption(Grouped(definitionsTotal_));
    Control("lblVersion").SetCaption(context_.brand.VersionText());
    Control("lblDefVersion")
        .SetCaption(
            ReadDefinitionsDate(context_.machine.files, context_.machine.system, context_.dataFolder) +
            std::string(kPst));
    Control("lblDefRemoved").SetCaption(store.Read(kSectionSettings, kDefRemoved, kDefRemovedDefault));
    // A scan that never ran says so in the language in use.
    const auto lastScan = [&](std::string_view key) {
        const std::string when = store.Read(kSectionSettings, key, kLastScanDefault);
        return when == kLastScanDefault ? context_.Message("MSG_NEVER") : when;
    };
    Control("lblLastScan").SetCaption(lastScan(kLastScan));
    Control("lblLastFullScan").SetCaption(lastScan(kLastFullScan));
}

void MainWindow::SendToTray() {
    sendingToTray_ = true;
    form_.SetState(ui::WindowState::Minimized);
    sendingToTray_ = false;
    form_.Hide();
    popup_.Window().Find("mnuMaxmimaize")->SetEnabled(true);
    tray_.ShowIcon(form_);
    tray_.ChangeToolTip(form_, context_.brand.programName);
    context_.settings.Write(kSectionSettings, kMinimized, kMinimizedYes);
}

void MainWindow::ExcludeTickedRows() {
    ui::Control& removal = Control(kRemovalList);
    std::vector<ExcludeRow> rows;
    rows.reserve(removal.Rows().size());
    for (const ui::ListRow& row : removal.Rows()) {
        rows.push_back({row.text, row.SubItem(1), row.checked});
    }
    const bool listsEmpty = Control("lvwSpywareFound").Rows().empty() &&
                            Control("lvwRegistryToBeDeleted").Rows().empty() && removal.Rows().empty();
    if (ExcludeSelectedRows(context_, definitions_.exclusions, rows, listsEmpty) !=
        ExcludeOutcome::Excluded) {
        return;
    }
    // The partner rows carry the removal rows' check marks, so the ticked rows of every list go.
    const auto removeTicked = [this](std::string_view list) {
        Control(list).RemoveRowsIf([](const ui::ListRow& row) { return row.checked; });
    };
    for (std::string_view list :
         {"lvwFilesToBeDeleted", "lvwRegistryToBeDeleted", "lvwSpywareFound", "lvwCookiesToDelete"}) {
        removeTicked(list);
    }
    Control("lblDeletingCaption").SetCaption("");
    removeTicked(kRemovalList);
}

void MainWindow::OnTrayMessage(int message) {
    switch (message) {
    case kTrayLeftDown:
    case kTrayRightDown:
        popup_.Show();
        break;
    case kTrayLeftDoubleClick:
    case kTrayRightDoubleClick:
        form_.SetState(ui::WindowState::Normal);
        form_.Show();
        popup_.Window().Hide();
        break;
    default:
        break;
    }
}

void MainWindow::OnResize() {
    Layout();
    if (form_.State() != ui::WindowState::Normal) {
        SetBackgroundTimers(true);
        Control("tmrScroll").SetEnabled(false);
        form_.SetShowInTaskList(false);
        // Minimised by the user (the caption button, the taskbar): without its taskbar button the window
        // could only be found again from the notification area, so it goes there as Send to Tray sends it.
        if (form_.State() == ui::WindowState::Minimized && form_.Visible() && !sendingToTray_ && !unloaded_) {
            SendToTray();
        }
        return;
    }
    Control("tmrScroll").SetEnabled(true);
    Control("tmrScheduler").SetEnabled(false);
    Control("tmrMemoryInspected").SetEnabled(false);
    form_.SetShowInTaskList(true);
    if (form_.Visible()) {
        context_.settings.Write(kSectionSettings, kMinimized, kMinimizedDefault);
    }
}

void MainWindow::Layout() {
    if (!form_.Visible() || form_.State() == ui::WindowState::Minimized) {
        return;
    }
    const int width = form_.ScaleWidth();
    const int height = form_.ScaleHeight();
    ui::Control& website = Control("cmdWebsite");
    const ui::Bounds& button = website.Position();
    website.Move(button.left, height - button.height - 120, width - 200 - button.left, button.height);
    Control(kTimerContainer).Move(0, height + 1000, width, 2400);

    // The four panels share the Status panel's place, which fills the window right of the navigation.
    ui::Control& status = Control(kStatusPanel);
    const int left = kNavigationLeft + kNavigationWidth + kPanelGap;
    const int panelWidth = std::max(width - left - 120, 2400);
    const int panelHeight = std::max(website.Position().top - 120 - status.Position().top, 2400);
    for (std::string_view name : {kStatusPanel, kScanPanel, kResultsPanel, kOptionsPanel}) {
        Control(name).Move(left, status.Position().top, panelWidth, panelHeight);
    }
    ui::Control& tabs = Control(kTabStrip);
    tabs.Move(0, 0, panelWidth, panelHeight);
    for (ui::Control* page : form_.Array(kOptionsPage)) {
        page->Move(120, 360, panelWidth - 240, panelHeight - 420);
    }
    // Bars, status lines and lists of the Scan and Results panels follow the panel width.
    for (const char* name :
         {"lblStatus", "pb1", "pb2", "pbgMain", "lblPercentageCompleted", "lvwSpywareFound",
          "lblRemovePicSoftwareFound", kRemovalList.data(), "lblDeletingCaption", "pgbDeleteSpywaresFound",
          "lblDeletingPercentageCompleted"}) {
        ui::Control& control = Control(name);
        const ui::Bounds& at = control.Position();
        control.Move(at.left, at.top, panelWidth - at.left - kMargin, at.height);
    }
    ui::Control& removal = Control(kRemovalList);
    int columnsWidth = 0;
    for (const auto& column : removal.Columns()) {
        columnsWidth += column.width;
    }
    const int listWidth = removal.Position().width;
    // Only while the list is empty: a scan's results keep the widths that show them whole.
    if (columnsWidth > listWidth && removal.Columns().size() == 3 && removal.Rows().empty()) {
        removal.SetColumnWidth(0, listWidth / 4);
        removal.SetColumnWidth(1, listWidth / 2);
        removal.SetColumnWidth(2, listWidth / 4);
    }
}

bool MainWindow::OnCloseRequest() {
    context_.settings.Write(kSectionOptions, kRestart, kFalse);
    context_.settings.Write(kSectionOptions, kStatus, kStatusStopped);
    tray_.RemoveIcon(form_);
    return true;
}

void MainWindow::OnUnload() {
    if (unloaded_) {
        return;
    }
    unloaded_ = true;
    const auto& columns = Control(kRemovalList).Columns();
    for (std::size_t i = 0; i < columns.size(); ++i) {
        context_.settings.Write(kSectionSettings, std::string(kFoundColumnPrefix) + std::to_string(i + 1),
                                std::to_string(columns[i].width));
    }
    context_.settings.Write(kSectionSettings, kMax, form_.State() == ui::WindowState::Maximized ? "1" : "0");
    form_.SetState(ui::WindowState::Minimized);
    form_.Hide();
    for (ui::Form* window :
         {&about_.Window(), &popup_.Window(), &hiddenForm_, &removal_->Problems().Window(),
          &restore_->Window(), &liveUpdate_->Download().Window(), &liveUpdate_->Notice().Window(),
          &memoryShield_->Alert().Window(), &startPageShield_->Alert().Window(), &reportWindow_->Window()}) {
        Attempt([&] { window->Unload(); });
    }
    EndProgramWhenAllClosed();
}

void MainWindow::EndProgramWhenAllClosed() {
    // An open website opener keeps the program alive until it has closed itself.
    if (unloaded_ && !websiteOpener_.Window().Loaded()) {
        context_.host.Quit();
    }
}

void MainWindow::OpenWebsite() {
    websiteOpener_.Open(kWebsitePage);
}

void MainWindow::WireCommands() {
    auto panelCommand = [this](std::string_view button, std::string_view panel) {
        Control(button).onClick = [this, panel] { ShowPanel(panel); };
    };
    panelCommand("cmdStatus", kStatusPanel);
    panelCommand("cmdScan", kScanPanel);
    panelCommand("cmdSettings", kOptionsPanel);
    // cmdResults also sends the process list on an empty removal list: WireDataSubmission.
    panelCommand("cmdResults", kResultsPanel);
    Control("Command5").onClick = [this] { SendToTray(); };
    Control("cmdWebsite").onClick = [this] { OpenWebsite(); };
    Control("lblHide").onClick = [this] { form_.Unload(); };

    Control(kTabStrip).onClick = [this] {
        const int selected = Control(kTabStrip).SelectedTab();
        for (ui::Control* page : form_.Array(kOptionsPage)) {
            page->SetVisible(page->Index() == selected - 1);
        }
    };
    for (ui::Control* item : form_.Array(kSettingsMenuItem)) {
        item->onClick = [this, item] {
            ShowPanel(kOptionsPanel);
            Control(kTabStrip).SelectTab(item->Index() + 1);
        };
    }
    Control("mnuFileScanNow").onClick = [this] { Control("cmdScan").Click(); };
    Control("mnuFileResults").onClick = [this] { Control("cmdResults").Click(); };
    Control("mnuFileViewLog").onClick = [this] { Control("cmdLog").Click(); };
    Control("mnuFileUpdate").onClick = [this] { Control("cmdUpdate").Click(); };
    Control("mnuFileTray").onClick = [this] { SendToTray(); };
    Control("mnuFileExit").onClick = [this] { form_.RequestClose(); };
    Control("mnuViewQuarantine").onClick = [this] { ViewQuarantine(context_); };
    Control("mnuViewExclusions").onClick = [this] { ViewExclusions(context_); };
    Control("mnuViewHelp").onClick = [this] {
        ShowHelp(context_);
        context_.host.PumpMessages();
    };
    Control("mnuAboutSoftware").onClick = [this] { about_.Show(form_); };
    Control("cmdExclude").onClick = [this] { ExcludeTickedRows(); };
}

void MainWindow::WireScanCommands() {
    ScanDriver& scan = *scanDriver_;
    scan.stages = StandardScanStages();
    ScanDriverHooks& hooks = scan.hooks;
    hooks.setBackgroundTimers = [this](bool on) { SetBackgroundTimers(on); };
    hooks.refreshStatusPanel = [this] { RefreshStatusPanel(); };
    hooks.showScanPanel = [this] { ShowPanel(kScanPanel); };
    hooks.setBusyPointer = [this](bool busy) { form_.SetBusyPointer(busy); };
    hooks.hideProblemList = [this] {
        removal_->Problems().Hide();
        removal_->Problems().Clear();
    };
    hooks.removeWithoutQuestions = [this] {
        // Everything the scheduled scan found goes.
        scanDriver_->SelectAll();
        removal_->automaticDeletion = true;
        removal_->ConfirmAndRemove();
        removal_->automaticDeletion = false;
    };
    scan.busyState = &busy_;

    Control("cmdScanNow").onClick = [&scan] { scan.StartScan(); };
    Control("lblStart").onClick = [&scan] { scan.StartFromLabel(); };
    // The Stop and Pause labels act while their buttons do.
    Control("cmdStop").onClick = [&scan] { scan.StopScan(false); };
    Control("lblStop").onClick = [this, &scan] {
        if (Control("cmdStop").Enabled()) {
            scan.StopScan(true);
        }
    };
    Control("cmdPause").onClick = [&scan] { scan.PauseScan(); };
    Control("lblPause").onClick = [this, &scan] {
        if (Control("cmdPause").Enabled()) {
            scan.PauseScan();
        }
    };
    Control("cmdSelectAll").onClick = [&scan] { scan.SelectAll(); };
    Control(kRemovalList).onItemCheck = [&scan](std::size_t row) { scan.SyncRemovalCheck(row); };
    Control("cmdRemove").onClick = [this] { ShowPanel(kResultsPanel); };
    for (std::string_view label : {"lblStart", "lblPause", "lblStop"}) {
        Control(label).onMouseMove = [&scan, label] { scan.HoverLabel(label); };
    }
    Control(kScanPanel).onMouseMove = [&scan] { scan.HoverPanel(); };
}

void MainWindow::WireRemovalCommands() {
    RemovalEngine& removal = *removal_;
    removal.hooks.setBackgroundTimers = [this](bool on) { SetBackgroundTimers(on); };
    removal.hooks.refreshStatusPanel = [this] { RefreshStatusPanel(); };
    Control("Command4").onClick = [&removal] { removal.ConfirmAndRemove(); };
    Control("mnuRestoreQuarantine").onClick = [this] { restore_->Show(form_); };
    busy_.onChange = [this](bool busy) { SetLongTaskCommands(!busy); };
}

void MainWindow::SetLongTaskCommands(bool enabled) {
    for (std::string_view name :
         {"cmdScanNow", "cmdUpdate", "cmdLiveUpdate", "mnuFileUpdate", "Command4", "cmdExclude"}) {
        Attempt([&] { Control(name).SetEnabled(enabled); });
    }
}

void MainWindow::WireUpdateCommands() {
    LiveUpdate& update = *liveUpdate_;
    update.hooks.setBackgroundTimers = [this](bool on) { SetBackgroundTimers(on); };
    update.hooks.refreshStatusPanel = [this] { RefreshStatusPanel(); };
    update.hooks.recountDefinitions = [this] {
        definitions_.counts = CountDefinitions(context_.machine.files, context_.dataFolder);
        definitionsTotal_ = definitions_.counts.total;
    };
    Control("cmdUpdate").onClick = [&update] { update.RunLiveUpdate(); };
    Control("cmdLiveUpdate").onClick = [&update] { update.RunLiveUpdate(); };
    // Shift and a press on either Live Update button lists the definition pages instead of updating.
    for (std::string_view button : {"cmdUpdate", "cmdLiveUpdate"}) {
        Control(button).onMouseDown = [this](const ui::MouseDown& press) {
            return ShowAddressesOnShiftPress(context_, press);
        };
    }
    Control("timUpdate").onTimer = [&update] { update.AutomaticTick(); };
    onStartLiveUpdate = [&update] { update.RunLiveUpdate(); };
}

} // namespace grimsweep
