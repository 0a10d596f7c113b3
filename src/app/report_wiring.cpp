// The scan report and its viewer: the scan driver's report hook and the commands that show the report.
#include "app/main_window.h"
#include "report/scan_report.h"

namespace grimsweep {

void MainWindow::WireReport() {
    scanDriver_->hooks.writeReport = [this] { MakeReport(context_, form_, *scanLists_, scanState_); };
    // "View Log" (also the File menu's) and "Show Report" both open the viewer; the label stays disabled
    // while it is open.
    auto showReport = [this] {
        ui::Control& label = Control("lblViewLogFile");
        label.SetEnabled(false);
        reportWindow_->Show(form_);
        label.SetEnabled(true);
    };
    Control("cmdLog").onClick = showReport;
    Control("lblViewLogFile").onClick = showReport;
}

} // namespace grimsweep
