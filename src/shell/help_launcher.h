// Opens Help.chm from the program's folder with its default viewer.
#pragma once

#include <string>

namespace grimsweep {

class Program;

inline constexpr std::string_view kHelpFileName = "Help.chm";

// The program's own folder, without trailing backslash.
std::string ApplicationFolder(Program& program);

// Opens the help file when it exists, then records that help has been shown; true when it was opened.
// Without the file nothing changes, so the first-run help is tried again at the next start.
bool ShowHelp(Program& program);

} // namespace grimsweep
