// The quarantine of the console program: "gscan quarantine" lists what is in it, "gscan restore ITEM..."
// puts items back without ever replacing anything that is there.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "core/context.h"

namespace grimsweep {

enum ConsoleRestoreResult : int {
    kConsoleRestoreDone = 0,
    kConsoleRestoreIncomplete = 1,
    kConsoleRestoreError = 2,
};

// One line an item: its number, kind, backup name, original location, date, and "restored" when it was
// put back. The numbers follow the order the items went in, so a number names the same item for good.
// Returns 0.
int ListQuarantine(Context& context, std::ostream& out);

// Restores the items named by their numbers (as ListQuarantine prints them) or backup names, and prints
// what came back and what did not. Returns 0 when every item came back, 1 when some did not, and 2,
// restoring nothing, when no item was named, the quarantine holds nothing, or an item is not in it.
int RestoreFromConsole(Context& context, const std::vector<std::string>& items, std::ostream& out);

} // namespace grimsweep
