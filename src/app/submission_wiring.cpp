// The anonymous data submission's commands on the main window and its calls after scans and removals.
#include "app/main_window.h"

namespace grimsweep {

void MainWindow::WireDataSubmission() {
    DataSubmission& submission = *dataSubmission_;
    Control(kSendDataBox).onClick = [&submission] { submission.OnSendDataChanged(); };
    Control(kSubmitCommand).onClick = [&submission] { submission.SubmitFileName(); };
    Control(kBrowseCommand).onClick = [&submission] { submission.BrowseForFile(); };
    // Enter in the text box submits, as the Submit button does.
    Control(kSubmitNameBox).onKeyPress = [&submission](int key) {
        if (key != ui::kKeyReturn) {
            return false;
        }
        submission.SubmitFileName();
        return true;
    };
    // Both callers test chkSendData themselves.
    scanDriver_->hooks.submitData = [&submission] { submission.SendProcessList(); };
    removal_->hooks.submitData = [&submission] { submission.SendProcessList(); };
    // The Results command sends the list too when the removal list is empty and the user allows it.
    ui::Control& results = Control("cmdResults");
    results.onClick = [this, &submission, show = std::move(results.onClick)] {
        if (show) {
            show();
        }
        if (scanLists_->Removal().Rows().empty() && submission.Allowed()) {
            submission.SendProcessList();
        }
    };
}

} // namespace grimsweep
