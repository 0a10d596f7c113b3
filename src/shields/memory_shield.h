// The memory shield: every ten seconds (and on every third start-page tick) it runs the process check
// that a user scan runs. A listed program met outside a user scan is brought to the user in the memory
// alert, which waits for STOP (the program found is stopped) or ALLOW (its name joins the exclusion list).
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "core/busy_state.h"
#include "definitions/definition_state.h"
#include "scan/scan_driver.h"
#include "scan/scan_run.h"
#include "shields/spyware_found_alert.h"
#include "ui/form.h"

namespace grimsweep {

class Context;

inline constexpr std::string_view kMsgNoCompany = "MSG_NOCOMPANY";
inline constexpr std::string_view kNotStoppedSuffix =
    " could not be stopped.  You should try again after saving your work and closing any open applications.";

class MemoryShield {
public:
    MemoryShield(Context& context, const Skin& skin, ScanDriver& scan, DefinitionState& definitions,
                 BusyState& busy, ui::Form& mainWindow);

    // Switches the main window's background timers off (false) or back on from the settings.
    std::function<void(bool on)> setBackgroundTimers;

    // tmrMemoryInspected: runs the process check when the shield is on. A tick never runs inside another
    // one, nor while a scan, removal or update holds the program.
    void Tick();
    // Shows the alert for the program found and returns when the user has answered, closed the alert,
    // or the program is ending.
    void ShowMemoryAlert(const RunningThreat& threat);
    SpywareFoundAlert& Alert() { return alert_; }
    bool AlertAnswered() const { return alertAnswered_; }

private:
    void Stop();
    void Allow();

    Context& context_;
    ScanDriver& scan_;
    DefinitionState& definitions_;
    BusyState& busy_;
    ui::Form& mainWindow_;
    SpywareFoundAlert alert_;
    RunningThreat current_;
    bool alertAnswered_ = false;
    bool waiting_ = false;
    bool ticking_ = false;
};

} // namespace grimsweep
