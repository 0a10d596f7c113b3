// The user scan of the console program (gscan scan): the main window's controls in memory, the stored
// options, the same driver and stages as the window, and the findings printed.
#pragma once

#include <ostream>

#include "core/context.h"
#include "scan/scan_driver.h"

namespace grimsweep {

enum ConsoleScanResult : int {
    kConsoleScanClean = 0,
    kConsoleScanFoundThreats = 1,
    kConsoleScanError = 2,
};

// Runs one user scan. Progress goes on one line rewritten in place when `rewriteProgress` (a console),
// as plain lines otherwise. Returns 0 when nothing was found, 1 when threats were found, 2 when the
// definition files are missing (MSG_MISSING is printed) or the scan could not run.
int RunConsoleScan(Context& context, const ScanStages& stages, std::ostream& out, bool rewriteProgress);

// gscan remove: the scan, then the removal of everything it found without a question, as a scheduled
// scan with automatic deletion does. Prints what went and what stayed. Returns 0 when everything found
// was removed (or nothing was found), 1 when something stayed, 2 as the scan does.
int RunConsoleRemoval(Context& context, const ScanStages& stages, std::ostream& out, bool rewriteProgress);

} // namespace grimsweep
