#include "app/console_scan.h"

#include <algorithm>
#include <exception>
#include <string>
#include <vector>

#include "app/main_window_controls.h"
#include "core/busy_state.h"
#include "core/settings_keys.h"
#include "definitions/definition_state.h"
#include "definitions/definition_status.h"
#include "definitions/exclusion_list.h"
#include "removal/quarantine_folder.h"
#include "removal/removal_engine.h"
#include "report/scan_report.h"
#include "scan/scan_lists.h"
#include "scan/scan_state.h"
#include "shell/skin.h"
#include "ui/form.h"

namespace grimsweep {

namespace {

using namespace settings;

constexpr std::size_t kProgressWidth = 79;

// One line of progress: the stage and the item side by side, cut to the console's width.
std::string ProgressLine(std::string_view status) {
    std::string line;
    for (char c : status) {
        if (c == '\r') {
            continue;
        }
        line += c == '\n' ? ' ' : c;
    }
    if (line.size() > kProgressWidth) {
        line.resize(kProgressWidth);
    }
    return line;
}

void PrintList(std::ostream& out, const std::string& title, const ui::Control& list, bool withLocations) {
    out << title << " (" << list.Rows().size() << "):\n";
    for (const ui::ListRow& row : list.Rows()) {
        out << "  " << row.text;
        if (withLocations && !row.SubItem(1).empty()) {
            out << "  [" << row.SubItem(1) << "]";
        }
        if (withLocations && !row.SubItem(2).empty()) {
            out << "  (" << row.SubItem(2) << ")";
        }
        out << "\n";
    }
}

// Ticks every finding and removes them all without a question.
void RemoveEverythingFound(ScanDriver& driver, RemovalEngine& removal) {
    driver.SelectAll();
    removal.automaticDeletion = true;
    removal.ConfirmAndRemove();
    removal.automaticDeletion = false;
}

// What went (the findings no longer listed) and what stayed (the problem list, and findings whose rows
// stayed). Returns the exit code.
int PrintRemoval(Context& context, std::ostream& out, const std::vector<std::string>& found,
                 const ScanLists& lists, RemovalEngine& removal) {
    std::vector<std::string> stayedRows;
    for (const ui::ListRow& row : lists.Removal().Rows()) {
        stayedRows.push_back(row.text);
    }
    std::vector<std::string> removed;
    for (const std::string& text : found) {
        if (std::find(stayedRows.begin(), stayedRows.end(), text) == stayedRows.end()) {
            removed.push_back(text);
        }
    }
    out << "Removed (" << removed.size() << "):\n";
    for (const std::string& text : removed) {
        out << "  " << text << "\n";
    }
    const std::vector<std::string> problems = removal.Problems().EntriesWithReasons();
    out << "\nStayed (" << problems.size() << "):\n";
    for (const std::string& text : problems) {
        out << "  " << text << "\n";
    }
    out << "\nQuarantine: " << QuarantineFolder(context) << "\n" << std::flush;
    return problems.empty() && stayedRows.empty() ? kConsoleScanClean : kConsoleScanFoundThreats;
}

} // namespace

namespace {

int ScanAndMaybeRemove(Context& context, const ScanStages& stages, std::ostream& out, bool rewriteProgress,
                       bool remove) {
    std::string missing;
    if (!DefinitionFilesPresent(context, missing)) {
        out << context.messages.getMessages(kMsgMissing) << "\n";
        return kConsoleScanError;
    }
    try {
        DefinitionState definitions;
        definitions.counts = CountDefinitions(context.machine.files, context.dataFolder);
        LoadExclusions(context, definitions.exclusions);

        ui::Form window(context.host, std::string(kMainWindowName));
        BuildMainWindowControls(window);
        window.Get("chkMakeLog")
            .SetValue(context.settings.ReadNumber(kSectionOptions, kMakeLog, kMakeLogDefault));
        ScanLists lists(window);
        ScanState state;
        ScanDriver driver(context, definitions, window, lists, state);
        driver.stages = stages;
        BusyState busy;
        driver.busyState = &busy;
        const Skin skin;
        RemovalEngine removal(context, window, lists, busy, skin);
        driver.hooks.writeReport = [&] { MakeReport(context, window, lists, state); };
        std::vector<std::string> found;
        if (remove) {
            state.removeAfterScan = true;
            driver.hooks.removeWithoutQuestions = [&] {
                for (const ui::ListRow& row : lists.Removal().Rows()) {
                    found.push_back(row.text);
                }
                RemoveEverythingFound(driver, removal);
            };
        }
        std::size_t lastWidth = 0;
        driver.hooks.progressShown = [&](std::string_view status) {
            const std::string line = ProgressLine(status);
            if (rewriteProgress) {
                out << "\r" << line << std::string(lastWidth > line.size() ? lastWidth - line.size() : 0, ' ')
                    << std::flush;
                lastWidth = line.size();
            } else {
                out << line << "\n";
            }
        };
        driver.StartScan();
        if (rewriteProgress) {
            out << "\r" << std::string(lastWidth, ' ') << "\r";
        }

        const ScanCounters& counters = state.counters;
        out << "\n";
        PrintList(out, "Results", lists.Found(), false);
        out << "\nCookies and processes inspected: " << window.Get("lblMemoryInspected").Caption() << "\n";
        out << "Registry entries inspected:      " << window.Get("lblRegistryInspected").Caption() << "\n";
        out << "Files and folders inspected:     " << window.Get("lblFilesFolderInspected").Caption() << "\n";
        out << "Threats found:                   " << counters.threatsFound << "\n";
        out << "Traces found:                    " << counters.traces << "\n\n";
        if (!remove) {
            PrintList(out, "To be removed", lists.Removal(), true);
            out << std::flush;
            return counters.threatsFound > 0 || !lists.Removal().Rows().empty() ? kConsoleScanFoundThreats
                                                                                : kConsoleScanClean;
        }
        return PrintRemoval(context, out, found, lists, removal);
    } catch (const std::exception& failure) {
        out << "The scan failed: " << failure.what() << "\n";
        return kConsoleScanError;
    }
}

} // namespace

int RunConsoleScan(Context& context, const ScanStages& stages, std::ostream& out, bool rewriteProgress) {
    return ScanAndMaybeRemove(context, stages, out, rewriteProgress, false);
}

int RunConsoleRemoval(Context& context, const ScanStages& stages, std::ostream& out, bool rewriteProgress) {
    return ScanAndMaybeRemove(context, stages, out, rewriteProgress, true);
}

} // namespace grimsweep
