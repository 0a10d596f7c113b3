// The quarantine folder below the data folder, where removed items are backed up.
#pragma once

#include <string>
#include <string_view>

namespace grimsweep {

class Program;

inline constexpr std::string_view kQuarantineFolderName = "quarantine";

// data folder & "\quarantine"
std::string QuarantineFolder(const Program& program);

// "View Quarantine": creates the folder when missing and opens it in the file explorer.
void ViewQuarantine(Program& program);

} // namespace grimsweep
