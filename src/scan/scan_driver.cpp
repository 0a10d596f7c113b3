#include "scan/scan_driver.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "common/attempt.h"
#include "core/settings_keys.h"
#include "definitions/definition_status.h"
#include "definitions/safe_list.h"
#include "scan/status_text.h"
#include "ui/list_columns.h"
#include "ui/ui_host.h"

namespace grimsweep {

namespace {

using namespace settings;

// A removal row's check box and small icon, left of its text.
constexpr int kCheckAndIconTwips = 600;

// The busy marker's place when a scan starts, and its offset beside a counter's caption.
constexpr int kCircleStartLeft = 1215;
constexpr int kCircleStartTop = 645;
constexpr int kCircleLeftOfCaption = 250;
constexpr int kCircleBelowCaption = 11;

// The counter captions on the Scan panel, by index: processes, registry, files and folders.
constexpr std::string_view kCounterCaption = "lblCounterCaption";
constexpr int kRegistryCaption = 1;
constexpr int kFilesCaption = 2;

constexpr std::string_view kScanLabels[] = {"lblStart", "lblPause", "lblStop"};

int BarValue(double percent, int max) {
    return std::clamp(static_cast<int>(std::lround(percent)), 0, max);
}

} // namespace

ScanDriver::ScanDriver(Context& context, DefinitionState& definitions, ui::Form& mainWindow, ScanLists& lists,
                       ScanState& state)
    : context_(context), definitions_(definitions), form_(mainWindow), lists_(lists), state_(state) {}

void ScanDriver::Hook(const std::function<void()>& hook) const {
    if (hook) {
        hook();
    }
}

void ScanDriver::SetTimers(bool on) const {
    if (hooks.setBackgroundTimers) {
        hooks.setBackgroundTimers(on);
    }
}

void ScanDriver::SetControls(std::initializer_list<std::string_view> names, bool enabled) const {
    for (std::string_view name : names) {
        Control(name).SetEnabled(enabled);
    }
}

void ScanDriver::SetBusyPointer(bool busy) const {
    if (hooks.setBusyPointer) {
        hooks.setBusyPointer(busy);
    }
}

bool ScanDriver::UserScanRunning() const {
    return !Control("cmdScan").Enabled();
}

void ScanDriver::LockDrawing(bool locked) {
    if (!form_.Visible()) {
        return;
    }
    // Nested locks draw once, when the outermost one ends.
    if (locked) {
        if (lockDepth_++ == 0) {
            context_.host.LockDrawing(form_, true);
        }
    } else if (lockDepth_ > 0 && --lockDepth_ == 0) {
        context_.host.LockDrawing(form_, false);
    }
}

void ScanDriver::StartFromLabel() {
    if (!Control("cmdScanNow").Enabled()) {
        return;
    }
    Hook(hooks.showScanPanel);
    StartScan();
}

void ScanDriver::StartScan() {
    if (busyState && !busyState->Begin(BusyTask::Scan)) {
        return;
    }
    Attempt([&] {
        Control("tmrScroll").SetEnabled(false);
        Hook(hooks.hideProblemList);
    });
    Attempt([&] {
        ui::Control& circle = Control("shpCircle");
        const ui::Bounds& at = circle.Position();
        circle.Move(kCircleStartLeft, kCircleStartTop, at.width, at.height);
        circle.SetVisible(false);
        Control("cmdRemove").SetVisible(false);
        SetControls({"cmdResults", "cmdSettings"}, false);
    });
    Attempt([&] {
        Control("tmrScroll").SetEnabled(false);
        SetTimers(false);
    });
    Attempt([&] {
        SetControls({"cmdScanNow", "cmdScan"}, false);
        SetControls({"cmdStop", "cmdPause"}, true);
        SetControls({"cmdLog", "cmdUpdate", "cmdStatus"}, false);
    });
    Attempt([&] { ResetForNewScan(); });
    state_.stopRequested = false;
    Attempt([&] {
        state_.started = context_.machine.system.Now();
        const PathMacroTable macros = PathMacroTable::Capture(context_.machine.shell);
        ScanRun run = MakeRun(macros);
        RunScanStages(run);
    });
    state_.finished = context_.machine.system.Now();
    Attempt([&] {
        const std::string finished = context_.machine.system.FormatDateTimeForDisplay(state_.finished);
        context_.settings.Write(kSectionSettings, kLastScan, finished);
        if (context_.settings.ReadTruth(kSectionOptions, kScanAllDrives, kScanAllDrivesDefault)) {
            context_.settings.Write(kSectionSettings, kLastFullScan, finished);
        }
    });
    Attempt([&] {
        if (Control("chkMakeLog").Value() == 1) {
            Hook(hooks.writeReport);
        }
    });
    Attempt([&] {
        // A scan that found nothing to remove sends the running programs, when the user allows it.
        if (lists_.Removal().Rows().empty() && Control("chkSendData").Value() == 1) {
            Hook(hooks.submitData);
        }
    });
    // Every threat and location shows whole: the columns widen to their texts (the list scrolls sideways).
    Attempt([&] { ui::FitColumnsToText(lists_.Removal(), kCheckAndIconTwips); });
    Attempt([&] {
        ui::Control& remove = Control("cmdRemove");
        remove.SetVisible(true);
        remove.SetEnabled(true);
        SetControls({"cmdResults", "cmdSettings"}, true);
        Control("shpCircle").SetVisible(false);
    });
    Attempt([&] { FinishScan(); });
    Attempt([&] {
        SetControls({"cmdScan", "cmdScanNow"}, true);
        Control("cmdStop").SetEnabled(false);
        Control("cmdLog").SetEnabled(true);
        Control("cmdPause").SetEnabled(false);
        SetControls({"cmdUpdate", "cmdStatus"}, true);
    });
    // A cancelled scan's request must not reach later process checks of the memory shield.
    state_.stopRequested = false;
    state_.removeAfterScan = false;
    Attempt([&] {
        SetTimers(true);
        Control("tmrTimeOut").SetEnabled(true);
        Hook(hooks.refreshStatusPanel);
    });
    SetBusyPointer(false);
    if (busyState) {
        busyState->End();
    }
}

void ScanDriver::ResetForNewScan() {
    LockDrawing(true);
    for (std::string_view label :
         {"lblRegistryInspected", "lblFilesFolderInspected", "lblMemoryInspected", "lblSoftwareFound",
          "lblPercentageCompleted", "lblStatus", "lblRemovePicSoftwareFound", "lbltracesFound",
          "lblTotalNoOfRunningItems"}) {
        Control(label).SetCaption("0");
    }
    state_.counters = ScanCounters{};
    lists_.Clear();
    LockDrawing(false);
}

void ScanDriver::FinishScan() {
    const MessageCatalogue& messages = context_.messages;
    if (state_.stopRequested) {
        LockDrawing(true);
        Control("lblStatus").SetCaption(messages.getMessages(kMsgScanCancelled));
        Control("lblPercentageCompleted").SetCaption("0% " + messages.getMessages(kMsgCompleted));
        Control("pbgMain").SetValue(0);
        LockDrawing(false);
        return;
    }
    LockDrawing(true);
    Control("lblStatus").SetCaption(messages.getMessages(kMsgScanCompleted));
    Control("pb1").SetValue(Control("pb1").Max());
    Control("pb2").SetValue(Control("pb2").Max());
    LockDrawing(false);
    if (state_.removeAfterScan) {
        Hook(hooks.removeWithoutQuestions);
    }
}

ScanRun ScanDriver::MakeRun(const PathMacroTable& macros) {
    return ScanRun{context_, definitions_, macros, state_, lists_, *this, onRunningThreatOutsideScan};
}

void ScanDriver::RunScanStages(ScanRun& run) {
    const MessageCatalogue& messages = context_.messages;
    const SettingsStore& store = context_.settings;
    std::string missingCaption;
    if (!DefinitionFilesPresent(context_, missingCaption)) {
        Control("lblDefVersion").SetCaption(missingCaption);
        MessageBoxRequest box;
        box.text = messages.getMessages(kMsgMissing);
        box.title = context_.brand.programName;
        box.icon = MessageBoxIcon::Information;
        context_.host.ShowMessageBox(box);
        return;
    }
    Attempt([&] { LoadSafeList(context_, definitions_.safeList, [this] { return state_.stopRequested; }); });
    Attempt([&] {
        ui::Control& overall = Control("pbgMain");
        overall.SetVisible(false);
        overall.SetMax(100);
        overall.SetValue(0);
        for (std::string_view bar : {"pb1", "pb2"}) {
            Control(bar).SetMax(100);
            Control(bar).SetValue(0);
        }
        state_.counters.cookiesAndProcesses = 0;
    });
    const DefinitionCounts& counts = definitions_.counts;
    std::vector<std::string_view> notSelected;
    const auto beginStage = [&](std::string_view key) {
        const std::string caption = messages.getMessages(key);
        Control("lblPercentageCompleted").SetCaption(caption);
        state_.stagePrefix = caption + ": ";
    };
    const auto runStage = [&](const std::function<void(ScanRun&)>& stage) {
        if (stage) {
            lists_.BeginUpdate();
            Attempt([&] { stage(run); });
            lists_.EndUpdate();
        }
    };
    const auto placeCircle = [&](int caption) {
        const ui::Bounds& label = form_.Get(kCounterCaption, caption).Position();
        ui::Control& circle = Control("shpCircle");
        circle.Move(label.left - kCircleLeftOfCaption, label.top + kCircleBelowCaption,
                    circle.Position().width, circle.Position().height);
        circle.SetVisible(true);
    };

    // Cookies.
    Attempt([&] {
        if (store.ReadNumber(kSectionOptions, kScanCookies, kScanCookiesDefault) != 1) {
            return;
        }
        Control("shpCircle").SetVisible(false);
        LockDrawing(true);
        beginStage(kMsgCookies);
        LockDrawing(false);
        runStage(stages.cookies);
        LockDrawing(true);
        Control("pb1").SetValue(100);
        Control("pb2").SetValue(BarValue(Percent(counts.cookies, counts.total), 100));
        Control("lblStatus").SetCaption(messages.getMessages(kMsgCookiesFinished));
        LockDrawing(false);
    });
    // Running programs.
    Attempt([&] {
        if (!store.ReadTruth(kSectionOptions, kSweepMemory, "True")) {
            Control("lblMemoryInspected").SetCaption(messages.getMessages(kMsgNotSelected));
            notSelected.push_back("lblMemoryInspected");
            return;
        }
        beginStage(kMsgMemory);
        state_.runningPrograms = 0;
        runStage(stages.processes);
        Control("lblTotalNoOfRunningItems").SetCaption(std::to_string(state_.runningPrograms));
    });
    // Registry.
    Attempt([&] {
        LockDrawing(true);
        beginStage(kMsgRegistry);
        Control("pb1").SetValue(0);
        Control("pb2").SetValue(BarValue(Percent(counts.cookies + counts.executables, counts.total), 100));
        LockDrawing(false);
        if (!store.ReadTruth(kSectionOptions, kScanRegistry, "True")) {
            Control("lblRegistryInspected").SetCaption(messages.getMessages(kMsgNotSelected));
            notSelected.push_back("lblRegistryInspected");
            return;
        }
        placeCircle(kRegistryCaption);
        runStage(stages.registry);
    });
    // Files and folders, in every scan.
    Attempt([&] {
        Control("pbgMain").SetMax(100);
        LockDrawing(true);
        beginStage(kMsgSpyware);
        Control("pbgMain").SetValue(0);
        LockDrawing(false);
        placeCircle(kFilesCaption);
        runStage(stages.files);
        runStage(stages.folders);
    });
    Attempt([&] {
        Control("pbgMain").SetMax(100);
        ReportProgress(kScanCompleteStatus, 100, 100);
        // The throttle may have held back the last reports: the final figures are shown in any case,
        // and a stage that was not selected keeps saying so.
        RefreshProgress(kScanCompleteStatus, 100, 100);
        for (std::string_view label : notSelected) {
            Control(label).SetCaption(messages.getMessages(kMsgNotSelected));
        }
    });
}

void ScanDriver::ReportProgress(std::string_view status, double stagePercent, double overallPercent) {
    if (++state_.progressCalls < kProgressThrottle) {
        return;
    }
    RefreshProgress(status, stagePercent, overallPercent);
    state_.progressCalls = 0;
    // Rows added since the last refresh are drawn now, in one go.
    lists_.Flush();
}

void ScanDriver::RefreshProgress(std::string_view status, double stagePercent, double overallPercent) {
    const ScanCounters& counters = state_.counters;
    LockDrawing(true);
    Control("lblMemoryInspected").SetCaption(std::to_string(counters.cookiesAndProcesses));
    Control("lblRegistryInspected").SetCaption(std::to_string(counters.registryEntries));
    Control("lblFilesFolderInspected").SetCaption(std::to_string(counters.filesAndFolders));
    Control("lblSoftwareFound").SetCaption(std::to_string(counters.threatsFound));
    Control("lbltracesFound").SetCaption(std::to_string(counters.traces));
    const std::string masked = MaskStatusText(status);
    Control("lblStatus").SetCaption(masked);
    Control("lblRemovePicSoftwareFound").SetCaption(std::to_string(counters.threatsFound));
    if (stagePercent >= 0) {
        Control("pb1").SetValue(BarValue(stagePercent, Control("pb1").Max()));
    }
    if (overallPercent >= 0) {
        Control("pb2").SetValue(BarValue(overallPercent, Control("pb2").Max()));
    }
    LockDrawing(false);
    if (hooks.progressShown) {
        hooks.progressShown(masked);
    }
}

void ScanDriver::Pump() {
    context_.host.PumpMessages();
    // The program is ending (its window was closed during the scan): the stages stop at their next test.
    if (context_.host.QuitPending() && UserScanRunning()) {
        state_.stopRequested = true;
    }
}

void ScanDriver::StopScan(bool fromLabel) {
    MessageBoxRequest question;
    question.text = context_.messages.getMessages(fromLabel ? kMsgSure : kMsgStop);
    question.title = context_.brand.programName;
    question.buttons = MessageBoxButtons::YesNo;
    question.icon = MessageBoxIcon::Question;
    if (context_.host.ShowMessageBox(question) == MessageBoxAnswer::Yes) {
        state_.stopRequested = true;
        SetBusyPointer(false);
    }
}

void ScanDriver::PauseScan() {
    SetControls({"cmdPause", "cmdStop"}, false);
    // The rows found so far are drawn while the scan stands still.
    lists_.Flush();
    MessageBoxRequest box;
    box.text = context_.messages.getMessages(kMsgPaused);
    box.title = context_.brand.programName;
    box.icon = MessageBoxIcon::Information;
    context_.host.ShowMessageBox(box);
    SetControls({"cmdPause", "cmdStop"}, true);
}

void ScanDriver::SelectAll() {
    ui::Control& removal = lists_.Removal();
    for (std::size_t row = 0; row < removal.Rows().size(); ++row) {
        if (!removal.Rows()[row].checked) {
            // The tick runs the list's check handler, which brings the partner rows along.
            removal.SetRowChecked(row, true);
            if (!removal.onItemCheck) {
                SyncRemovalCheck(row);
            }
        }
    }
}

void ScanDriver::SyncRemovalCheck(std::size_t index) {
    lists_.CopyCheckToPartners(index);
}

void ScanDriver::HoverLabel(std::string_view label) {
    for (std::string_view name : kScanLabels) {
        Control(name).SetItalic(name == label);
    }
}

void ScanDriver::HoverPanel() {
    for (std::string_view name : kScanLabels) {
        Control(name).SetItalic(false);
    }
    SetBusyPointer(UserScanRunning());
}

} // namespace grimsweep
