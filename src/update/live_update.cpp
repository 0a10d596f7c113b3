#include "update/live_update.h"

#include "common/attempt.h"
#include "core/context.h"
#include "core/settings_keys.h"
#include "update/definition_service.h"
#include "update/service_addresses.h"

namespace grimsweep {

std::string_view FailureMessage(UpdateFailure failure) {
    switch (failure) {
    case UpdateFailure::Unreachable:
        return kMsgUpdateUnreachable;
    case UpdateFailure::BadAnswer:
        return kMsgUpdateFailed;
    case UpdateFailure::Unverified:
        return kMsgUpdateUnverified;
    case UpdateFailure::NotSaved:
        return kMsgUpdateNotSaved;
    case UpdateFailure::None:
    case UpdateFailure::Cancelled:
        break;
    }
    return kMsgRecentDefs;
}

LiveUpdate::LiveUpdate(Context& context, ui::Form& mainWindow, const Skin& skin, TrayIcon& mainTray,
                       BusyState& busy)
    : context_(context), form_(mainWindow), busy_(busy), download_(context, skin, mainTray),
      notice_(context, skin) {
    notice_.onClosed = [this] { download_.Tray().RemoveIcon(download_.Window()); };
}

int LiveUpdate::RunLiveUpdate() {
    BusyScope hold(busy_, BusyTask::Update);
    if (!hold.Held()) {
        return 0;
    }
    const auto timers = [this](bool on) {
        if (hooks.setBackgroundTimers) {
            hooks.setBackgroundTimers(on);
        }
    };
    Attempt([&] {
        timers(false);
        Control("cmdLiveUpdate").SetEnabled(false);
    });
    UpdateOutcome outcome;
    Attempt([&] {
        ui::Form& window = download_.Window();
        window.Load();
        window.Show(false);
        // The window may have been closed with Cancel: the update goes on without its status box.
        const ServiceAddresses services = ReadServiceAddresses(context_);
        outcome = FetchAndApplyUpdates(context_, services.definitions,
                                       window.Loaded() ? &download_.Status() : nullptr,
                                       services.definitionKey, [this] { return download_.Cancelled(); });
    });
    const MessageCatalogue& messages = context_.messages;
    // A failed update says so: it never claims the definitions are the most recent.
    std::string message = messages.getMessages(FailureMessage(outcome.failure));
    if (outcome.changes >= 1) {
        Attempt([&] {
            context_.settings.Write(settings::kSectionOptions, settings::kShow, "True");
            context_.settings.Write(settings::kSectionOptions, settings::kRestart, "True");
            download_.Tray().RemoveIcon(download_.Window());
            message = messages.getMessages(kMsgUpdatedDefs);
            if (outcome.newDate) {
                Control("lblDefVersion").SetCaption(*outcome.newDate + " PST");
            }
            if (hooks.recountDefinitions) {
                hooks.recountDefinitions();
            }
            if (hooks.refreshStatusPanel) {
                hooks.refreshStatusPanel();
            }
            Control("cmdScan").SetEnabled(true);
        });
    }
    // A cancelled update changed nothing, and the user who stopped it needs no notice to say so.
    if (outcome.failure != UpdateFailure::Cancelled) {
        Attempt([&] { notice_.Show(message); });
    }
    Attempt([&] {
        download_.Window().Unload();
        Control("cmdLiveUpdate").SetEnabled(true);
        timers(true);
    });
    return outcome.changes;
}

void LiveUpdate::AutomaticTick() {
    if (!Control("cmdScanNow").Enabled()) {
        return; // a scan runs: the tick neither counts nor updates
    }
    if (idleSeconds_ > kAutomaticUpdateAfter) {
        RunLiveUpdate();
        idleSeconds_ = 0;
        Control("timUpdate").SetEnabled(false);
    } else {
        ++idleSeconds_;
    }
}

} // namespace grimsweep
