// The scheduler on the main window: its controls, its timer, and the scan it starts as a press on Start
// does, removing what it found without questions when the schedule asks for it.
#include "app/main_window.h"

namespace grimsweep {

void MainWindow::WireScheduler() {
    scheduler_ = std::make_unique<Scheduler>(context_, form_, scanState_.removeAfterScan,
                                             [this] { scanDriver_->StartFromLabel(); });
}

} // namespace grimsweep
