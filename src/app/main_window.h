// The main window FrmMain and the life of the program around it: load, panels, menus, timers, resize,
// close and unload, the tray and the small windows it owns.
#pragma once

#include <memory>
#include <string>

#include "core/busy_state.h"
#include "core/context.h"
#include "definitions/definition_state.h"
#include "localization/language_window.h"
#include "localization/languages.h"
#include "removal/removal_engine.h"
#include "removal/restore_window.h"
#include "report/data_submission.h"
#include "report/report_window.h"
#include "scan/scan_driver.h"
#include "scan/scan_lists.h"
#include "scan/scan_state.h"
#include "scheduler/scheduler.h"
#include "shell/about_window.h"
#include "shell/skin.h"
#include "shell/tray_icon.h"
#include "shell/tray_popup.h"
#include "shell/website_opener.h"
#include "shields/memory_shield.h"
#include "shields/start_page_shield.h"
#include "ui/form.h"
#include "update/live_update.h"

namespace grimsweep {

inline constexpr std::string_view kPst = " PST";
inline constexpr std::string_view kMsgCaption = "MSG_CAPTION";
inline constexpr std::string_view kMsgCaption2 = "MSG_CAPTION2";
inline constexpr std::string_view kMsgWebsite = "MSG_WEBSITE";
inline constexpr std::string_view kMsgThank1 = "MSG_THANK1";
inline constexpr std::string_view kMsgThank2 = "MSG_THANK2";
inline constexpr std::string_view kMsgThank3 = "MSG_THANK3";
inline constexpr std::string_view kMsgThank4 = "MSG_THANK4";

class MainWindow {
public:
    explicit MainWindow(Context& context);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    ui::Form& Window() { return form_; }
    Context& Owner() { return context_; }
    // The subsystem state the main window owns for the life of the program.
    DefinitionState& Definitions() { return definitions_; }
    const Skin& SkinInUse() const { return skin_; }
    TrayIcon& Tray() { return tray_; }
    ScanDriver& Scan() { return *scanDriver_; }
    ScanState& ScanStatus() { return scanState_; }
    ScanLists& ScanResults() { return *scanLists_; }
    RemovalEngine& Removal() { return *removal_; }
    RestoreWindow& Restore() { return *restore_; }
    LiveUpdate& Update() { return *liveUpdate_; }
    MemoryShield& Memory() { return *memoryShield_; }
    BusyState& Busy() { return busy_; }
    Languages& Localization() { return languages_; }
    LanguageWindow& LanguagePicker() { return *languageWindow_; }

    // Switches the shield, scheduler and time-out timers off, or back on as the settings say.
    void SetBackgroundTimers(bool on);
    void HideAllPanels();
    void RefreshStatusPanel();
    void SendToTray();
    // Shows one panel (frmStatus, frmScan, frmResults or frmOptions) and hides the others.
    void ShowPanel(std::string_view panel);
    // Copies the stored settings into the option controls; every control's handler runs as on a click.
    void ApplySettingsToControls();
    // "Signatures Last Updated On" and the definitions date, in the language in use.
    void ShowLastUpdate();
    // The Results panel's Exclude command: asks, appends the ticked removal rows to the exclusion list
    // and takes them and their partner rows off the lists.
    void ExcludeTickedRows();
    // The tray icon's events, as the mouse-move message carries them.
    void OnTrayMessage(int message);
    // Recomputes the positions of the panels and lists from the window size.
    void Layout();

    // True while a user scan runs (the "Scan Now" command is disabled).
    bool ScanRunning() const;
    // What the first-run Live Update question starts: Live Update, unless a test replaces it.
    std::function<void()> onStartLiveUpdate;

private:
    void OnLoad();
    bool LoadFirstSteps();
    void LoadRemainingSteps();
    void OnResize();
    bool OnCloseRequest();
    void OnUnload();
    void WireCommands();
    void WireOptionHandlers();
    void WireScanCommands();
    void WireRemovalCommands();
    void WireUpdateCommands();
    void WireMemoryShield();
    void WireScheduler();
    void WireStartPageShield();
    void WireDataSubmission();
    void WireReport();
    void WireLanguages();
    // Step 3 of the load: the catalogue, the stored language, and the language window on a first start.
    void LoadLanguage();
    // Switches the main window, the catalogue and every other window of the program to `language`.
    void SwitchLanguage(const std::string& language);
    // The texts the main window takes from the catalogue: its caption, the website button, the welcome.
    void ApplyCatalogueTexts();
    // Enables or disables the commands that start a scan, a removal or an update.
    void SetLongTaskCommands(bool enabled);
    void ShowHelpOnFirstStart();
    void AskFirstRunQuestion();
    void OpenWebsite();
    void EndProgramWhenAllClosed();
    ui::Control& Control(std::string_view name, int index = -1) { return form_.Get(name, index); }

    Context& context_;
    DefinitionState definitions_;
    Skin skin_;
    TrayIcon tray_;
    ui::Form form_;
    ui::Form hiddenForm_;
    Languages languages_;
    AboutWindow about_;
    WebsiteOpener websiteOpener_;
    TrayPopup popup_;
    ScanState scanState_;
    std::unique_ptr<ScanLists> scanLists_;
    std::unique_ptr<ScanDriver> scanDriver_;
    BusyState busy_;
    std::unique_ptr<RemovalEngine> removal_;
    std::unique_ptr<RestoreWindow> restore_;
    std::unique_ptr<LiveUpdate> liveUpdate_;
    std::unique_ptr<MemoryShield> memoryShield_;
    std::unique_ptr<Scheduler> scheduler_;
    std::unique_ptr<StartPageShield> startPageShield_;
    std::unique_ptr<DataSubmission> dataSubmission_;
    std::unique_ptr<ReportWindow> reportWindow_;
    std::unique_ptr<LanguageWindow> languageWindow_;
    std::int32_t definitionsTotal_ = 0;
    bool unloaded_ = false;
    bool sendingToTray_ = false; // SendToTray's own minimise is no user's
};

} // namespace grimsweep
