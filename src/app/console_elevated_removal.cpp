#include "app/console_elevated_removal.h"

#include "app/main_window_controls.h"
#include "core/busy_state.h"
#include "removal/elevated_removal.h"
#include "removal/removal_engine.h"
#include "scan/scan_lists.h"
#include "shell/skin.h"
#include "ui/form.h"

namespace grimsweep {

int RemoveListedItems(Context& context, const std::string& jobPath, std::string_view digestHex,
                      std::ostream& out) {
    const auto job = ReadCheckedRemovalJob(context, jobPath, digestHex);
    if (!job || job->rows.empty()) {
        out << "The removal job is missing or was changed: nothing was removed.\n";
        return kListedRemovalRefused;
    }
    context.dataFolder = job->dataFolder;

    ui::Form window(context.host, std::string(kMainWindowName));
    BuildMainWindowControls(window);
    ScanLists lists(window);
    for (const JobRow& entry : job->rows) {
        ui::Control& list = entry.list == JobList::Registry  ? lists.Registry()
                            : entry.list == JobList::Cookies ? lists.Cookies()
                            : entry.list == JobList::Removal ? lists.Removal()
                                                             : lists.Files();
        list.AddRow(entry.row);
    }
    BusyState busy;
    const Skin skin;
    RemovalEngine removal(context, window, lists, busy, skin);
    removal.automaticDeletion = true;
    removal.ConfirmAndRemove();

    const std::vector<std::string> stayed = removal.Problems().EntriesWithReasons();
    out << "Removed as administrator: " << removal.LastOutcome().removed << "\n";
    out << "Stayed (" << stayed.size() << "):\n";
    for (const std::string& entry : stayed) {
        out << "  " << entry << "\n";
    }
    out << std::flush;
    return stayed.empty() ? kListedRemovalDone : kListedRemovalIncomplete;
}

} // namespace grimsweep
