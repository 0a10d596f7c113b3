// gscan update: the Live Update conversation from the console.
#pragma once

#include <ostream>

#include "core/context.h"

namespace grimsweep {

// Asks the definition service named in Grimsweep.ini for newer definitions and applies them; prints the
// number of changes and the definitions date. Returns 0 when the conversation ran, 2 when the service
// could not be reached.
int RunConsoleUpdate(Context& context, std::ostream& out);

} // namespace grimsweep
