// Opens Help.chm from the program's folder with its default viewer, or the same help as plain pages in
// the default browser where no viewer opens it.
#pragma once

#include <string>

namespace grimsweep {

class Context;

inline constexpr std::string_view kHelpFileName = "Help.chm";
inline constexpr std::string_view kHelpPagesIndex = "help\\index.html";

// Opens the help file, or else the plain pages, and records that help has been shown only when one of
// them opened; true then. Otherwise nothing changes, so the first-run help is tried again at the next
// start.
bool ShowHelp(Context& context);

} // namespace grimsweep
