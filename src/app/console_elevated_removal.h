// "gscan remove-listed JOB DIGEST": the removal a user's program starts as administrator when items stayed
// after its own removal. It carries out the job the program wrote, and only when the job's bytes have the
// digest the program passed, with the user's data folder, so that the backups go into that user's
// quarantine.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "core/context.h"
#include "removal/elevated_removal.h"

namespace grimsweep {

enum ConsoleListedRemovalResult : int {
    kListedRemovalDone = 0,       // every listed item went
    kListedRemovalIncomplete = 1, // something stayed; printed
    // No job, or not the one the program wrote: nothing was touched.
    kListedRemovalRefused = static_cast<int>(kRemovalJobRefused),
};

int RemoveListedItems(Context& context, const std::string& jobPath, std::string_view digestHex,
                      std::ostream& out);

} // namespace grimsweep
