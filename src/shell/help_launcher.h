// Opens Help.chm from the program's folder with its default viewer.
#pragma once

#include <string>

namespace grimsweep {

class Context;

inline constexpr std::string_view kHelpFileName = "Help.chm";

// Opens the help file when it exists, then records that help has been shown; true when it was opened.
// Without the file nothing changes, so the first-run help is tried again at the next start.
bool ShowHelp(Context& context);

} // namespace grimsweep
