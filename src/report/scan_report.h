// The scan report: after a scan with "Save scan results to log" ticked, Scan_Log.txt in the data folder
// gets the program's name and version, the scan times, the three inspection counters, every finding on
// the removal list, the exclusion list and the quarantine log.
#pragma once

#include <string>
#include <string_view>

#include "core/context.h"
#include "scan/scan_lists.h"
#include "scan/scan_state.h"
#include "ui/form.h"

namespace grimsweep {

inline constexpr std::string_view kReportFileName = "Scan_Log.txt";
inline constexpr std::string_view kReportEndMarker = "=====================End Of Report.";

// data folder & "\Scan_Log.txt"
std::string ReportPath(const Context& context);

// The report's bytes in the system code page: the counters are read from the main window's labels, the
// findings from the removal list, the exclusion list and quarantine log from their files.
std::string ComposeReport(Context& context, const ui::Form& mainWindow, const ScanLists& lists,
                          const ScanState& state);

// Writes the report beside the previous one and moves it over it, so that a failed write keeps the old
// report. Returns whether the new report is in place.
bool MakeReport(Context& context, const ui::Form& mainWindow, const ScanLists& lists, const ScanState& state);

} // namespace grimsweep
