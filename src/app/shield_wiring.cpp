// The shields' timers of the main window and what the shields need from it.
#include "app/main_window.h"

namespace grimsweep {

void MainWindow::WireMemoryShield() {
    MemoryShield& shield = *memoryShield_;
    shield.setBackgroundTimers = [this](bool on) { SetBackgroundTimers(on); };
    // A listed program met outside a user scan goes to the memory alert.
    scanDriver_->onRunningThreatOutsideScan = [&shield](const RunningThreat& threat) {
        shield.ShowMemoryAlert(threat);
    };
    Control("tmrMemoryInspected").onTimer = [&shield] { shield.Tick(); };
}

void MainWindow::WireStartPageShield() {
    StartPageShield& shield = *startPageShield_;
    shield.hooks.setBackgroundTimers = [this](bool on) { SetBackgroundTimers(on); };
    shield.hooks.longTaskRunning = [this] { return ScanRunning() || busy_.Busy(); };
    // Every third start-page tick also runs a memory tick.
    shield.hooks.memoryTick = [this] { memoryShield_->Tick(); };
    Control(kStartPageTimer).onTimer = [&shield] { shield.Tick(); };
}

} // namespace grimsweep
