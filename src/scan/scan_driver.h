// The user scan: prepares the Scan panel, clears the lists and counters, runs the stages in their fixed
// order (cookies, running programs, registry, files, folders), shows progress through one throttled
// routine, and at the end stores the scan times and re-arms the background timers. Pause and Stop are
// clicks that the stages let through while they pump window messages.
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

#include "core/busy_state.h"
#include "core/context.h"
#include "definitions/definition_state.h"
#include "scan/scan_lists.h"
#include "scan/scan_run.h"
#include "scan/scan_state.h"
#include "ui/form.h"

namespace grimsweep {

inline constexpr std::string_view kMsgMissing = "MSG_MISSING";
inline constexpr std::string_view kMsgStop = "MSG_STOP";
inline constexpr std::string_view kMsgSure = "MSG_SURE";
inline constexpr std::string_view kMsgPaused = "MSG_PAUSED";
inline constexpr std::string_view kMsgScanCancelled = "MSG_SCAN_CANCELLED";
inline constexpr std::string_view kMsgScanCompleted = "MSG_SCAN_COMPLETED";
inline constexpr std::string_view kMsgCompleted = "MSG_COMPLETED";
inline constexpr std::string_view kMsgCookies = "MSG_COOKIES";
inline constexpr std::string_view kMsgCookiesFinished = "MSG_COOKIES_FINISHED";
inline constexpr std::string_view kMsgMemory = "MSG_MEMORY";
inline constexpr std::string_view kMsgNotSelected = "MSG_NOTSELECED";
inline constexpr std::string_view kMsgRegistry = "MSG_REGISTRY";
inline constexpr std::string_view kMsgSpyware = "MSG_SPYWARE";
inline constexpr std::string_view kScanCompleteStatus = "Scan Complete";

// Reports are counted; the labels are refreshed on every this-many-th.
inline constexpr int kProgressThrottle = 100;

// The stages; an empty one is skipped.
struct ScanStages {
    std::function<void(ScanRun&)> cookies;
    std::function<void(ScanRun&)> processes; // the platform dispatch of the process check
    std::function<void(ScanRun&)> registry;
    std::function<void(ScanRun&)> files;
    std::function<void(ScanRun&)> folders;
};

// What the scan asks of the window and subsystems around it; an empty hook does nothing.
struct ScanDriverHooks {
    std::function<void(bool on)> setBackgroundTimers;
    std::function<void()> refreshStatusPanel;
    std::function<void()> showScanPanel;
    std::function<void()> hideProblemList;         // the removal's problem window
    std::function<void()> writeReport;             // when the log option is on
    std::function<void()> removeWithoutQuestions;  // after a scheduled scan with automatic removal
    std::function<void()> submitData;              // the anonymous process list, after a clean scan
    std::function<void(bool busy)> setBusyPointer; // the hourglass over the main window
    // The Scan panel was refreshed with this status text (already masked).
    std::function<void(std::string_view status)> progressShown;
};

class ScanDriver : public IScanFeedback {
public:
    ScanDriver(Context& context, DefinitionState& definitions, ui::Form& mainWindow, ScanLists& lists,
               ScanState& state);

    ScanStages stages;
    ScanDriverHooks hooks;
    std::function<void(const RunningThreat&)> onRunningThreatOutsideScan;
    // The program's long-task state: a scan starts only while no removal or update holds it.
    BusyState* busyState = nullptr;

    // Start (cmdScanNow) and the Start label, which acts only while Start is enabled.
    void StartScan();
    void StartFromLabel();
    // Stop asks first; the label asks the shorter question.
    void StopScan(bool fromLabel);
    // Holds the scan inside an information box until OK.
    void PauseScan();
    // Ticks every unticked removal row and its partners.
    void SelectAll();
    // Copies the removal row's check mark to every partner row of the hidden lists.
    void SyncRemovalCheck(std::size_t row);
    // Hover effects of the Scan panel: a label under the mouse is italic; the panel background restores
    // them and shows the hourglass while a scan runs.
    void HoverLabel(std::string_view label);
    void HoverPanel();
    // Suspends or resumes drawing of the main window while it is visible.
    void LockDrawing(bool locked);
    // A stage's services, for a process check outside a scan (the memory shield).
    ScanRun MakeRun(const PathMacroTable& macros);

    // IScanFeedback
    void ReportProgress(std::string_view status, double stagePercent, double overallPercent) override;
    void Pump() override;
    bool UserScanRunning() const override;

private:
    void RunScanStages(ScanRun& run);
    // Shows the counters, the status line and the bars now.
    void RefreshProgress(std::string_view status, double stagePercent, double overallPercent);
    ui::Control& Control(std::string_view name) const { return form_.Get(name); }
    void Hook(const std::function<void()>& hook) const;
    void SetTimers(bool on) const;
    void SetControls(std::initializer_list<std::string_view> names, bool enabled) const;
    void ResetForNewScan();
    void FinishScan();
    void SetBusyPointer(bool busy) const;

    Context& context_;
    DefinitionState& definitions_;
    ui::Form& form_;
    ScanLists& lists_;
    ScanState& state_;
    int lockDepth_ = 0;
};

} // namespace grimsweep
