#include "shields/memory_shield.h"

#include "common/text.h"
#include "core/context.h"
#include "core/path_macros.h"
#include "core/settings_keys.h"
#include "definitions/exclusion_list.h"
#include "scan/process_scan.h"
#include "scan/process_stop.h"

namespace grimsweep {

MemoryShield::MemoryShield(Context& context, const Skin& skin, ScanDriver& scan, DefinitionState& definitions,
                           BusyState& busy, ui::Form& mainWindow)
    : context_(context), scan_(scan), definitions_(definitions), busy_(busy), mainWindow_(mainWindow),
      alert_(context, skin) {
    alert_.onStop = [this] { Stop(); };
    alert_.onAllow = [this] { Allow(); };
    alert_.onDismiss = [this] { waiting_ = false; };
}

void MemoryShield::Tick() {
    using namespace settings;
    if (!context_.settings.ReadTruth(kSectionOptions, kMemoryShieldOn, kMemoryShieldOnDefault)) {
        return;
    }
    // The check lets window messages run; a tick that arrives meanwhile, or a task that holds the
    // program, leaves the machine alone.
    if (ticking_ || busy_.Busy()) {
        return;
    }
    ticking_ = true;
    if (setBackgroundTimers) {
        setBackgroundTimers(false);
    }
    const PathMacroTable macros = PathMacroTable::Capture(context_.machine.shell);
    ScanRun run = scan_.MakeRun(macros);
    run.onRunningThreatOutsideScan = [this](const RunningThreat& threat) { ShowMemoryAlert(threat); };
    if (const auto outcome = RunProcessCheck(run); outcome && outcome->runningCount >= 0) {
        if (ui::Control* running = mainWindow_.Find("lblTotalNoOfRunningItems")) {
            running->SetCaption(std::to_string(outcome->runningCount));
        }
    }
    if (setBackgroundTimers) {
        setBackgroundTimers(true);
    }
    ticking_ = false;
}

void MemoryShield::ShowMemoryAlert(const RunningThreat& threat) {
    if (context_.host.QuitPending()) {
        return;
    }
    const std::string company = Trim(threat.companyName);
    const std::string companyText =
        company.empty() ? context_.messages.getMessages(kMsgNoCompany) + " " + ToUpper(threat.name)
                        : ToUpper(threat.companyName);
    current_ = threat;
    alertAnswered_ = false;
    waiting_ = true;
    alert_.Show(companyText, threat.name);
    // Sleeps until the next message rather than spinning; an ending program gives up the wait.
    while (waiting_) {
        if (!context_.host.WaitForMessage()) {
            alert_.Close();
            break;
        }
    }
    waiting_ = false;
}

// Each answer counts once: a second click while the first one works (stopping and appending let window
// messages run) does nothing.
void MemoryShield::Stop() {
    if (!waiting_) {
        return;
    }
    waiting_ = false;
    alert_.Window().Get("cmdYes").SetEnabled(false);
    alertAnswered_ = true;
    const std::string name = ToUpper(alert_.FileName());
    // Only the process the check found, and only while it still runs that file.
    const ThreatStop stop = StopRunningThreat(context_.machine, current_.processId, current_.imagePath);
    if (!ThreatGone(stop)) {
        MessageBoxRequest box;
        box.text = name + std::string(kNotStoppedSuffix);
        box.title = context_.brand.programName;
        box.icon = MessageBoxIcon::Information;
        context_.host.ShowMessageBox(box);
    }
    alert_.Close();
}

void MemoryShield::Allow() {
    if (!waiting_) {
        return;
    }
    waiting_ = false;
    alertAnswered_ = true;
    AppendExclusion(context_, definitions_.exclusions, alert_.FileName());
    alert_.Close();
}

} // namespace grimsweep
