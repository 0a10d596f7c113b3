// The shields' timers of the main window and what the shields need from it.
#include "app/main_window.h"

namespace grimsweep {

void MainWindow::WireStartPageShield() {
    StartPageShield& shield = *startPageShield_;
    shield.hooks.setBackgroundTimers = [this](bool on) { SetBackgroundTimers(on); };
    shield.hooks.longTaskRunning = [this] { return ScanRunning() || busy_.Busy(); };
    shield.hooks.memoryTick = [] {};
    Control(kStartPageTimer).onTimer = [&shield] { shield.Tick(); };
}

} // namespace grimsweep
