// Live Update as the main window runs it: the "Live Update" and "Run Live Update Now" commands, the
// automatic update on the 301st second without a scan, the download window during the conversation and
// the notice with its result.
#pragma once

#include <functional>
#include <memory>

#include "core/busy_state.h"
#include "shell/skin.h"
#include "shell/tray_icon.h"
#include "ui/form.h"
#include "update/definition_service.h"
#include "update/download_window.h"
#include "update/update_notice.h"

namespace grimsweep {

class Context;

inline constexpr std::string_view kMsgRecentDefs = "MSG_RECENT_DEFS";
inline constexpr std::string_view kMsgUpdatedDefs = "MSG_UPDATED_DEFS";
inline constexpr std::string_view kMsgUpdateUnreachable = "MSG_UPDATE_UNREACHABLE";
inline constexpr std::string_view kMsgUpdateFailed = "MSG_UPDATE_FAILED";
inline constexpr std::string_view kMsgUpdateUnverified = "MSG_UPDATE_UNVERIFIED";
inline constexpr std::string_view kMsgUpdateNotSaved = "MSG_UPDATE_NOT_SAVED";
// The automatic update runs when the counter of idle seconds has passed this.
inline constexpr int kAutomaticUpdateAfter = 299;

// The message for an update's outcome when it brought no changes: each failure its own, otherwise
// MSG_RECENT_DEFS.
std::string_view FailureMessage(UpdateFailure failure);

// What Live Update asks of the main window; an empty hook does nothing.
struct LiveUpdateHooks {
    std::function<void(bool on)> setBackgroundTimers;
    std::function<void()> refreshStatusPanel;
    // Counts the definitions again (the Status panel shows the total).
    std::function<void()> recountDefinitions;
};

class LiveUpdate {
public:
    // The main window must hold cmdLiveUpdate, cmdScan, cmdScanNow, lblDefVersion and timUpdate.
    LiveUpdate(Context& context, ui::Form& mainWindow, const Skin& skin, TrayIcon& mainTray, BusyState& busy);

    LiveUpdateHooks hooks;

    // Runs the conversation with the download window shown, then shows the notice. Returns the number of
    // changes (0 also when another long task holds the program).
    int RunLiveUpdate();
    // One tick of timUpdate (every second).
    void AutomaticTick();
    int IdleSeconds() const { return idleSeconds_; }

    DownloadWindow& Download() { return download_; }
    UpdateNotice& Notice() { return notice_; }

private:
    ui::Control& Control(std::string_view name) const { return form_.Get(name); }

    Context& context_;
    ui::Form& form_;
    BusyState& busy_;
    DownloadWindow download_;
    UpdateNotice notice_;
    int idleSeconds_ = 0;
};

} // namespace grimsweep
