// The quarantine folder below the data folder, where removed items are backed up.
#pragma once

#include <string>
#include <string_view>

namespace grimsweep {

class Context;

inline constexpr std::string_view kQuarantineFolderName = "quarantine";

// data folder & "\quarantine"
std::string QuarantineFolder(const Context& context);

// "View Quarantine": creates the folder when missing and opens it in the Windows folder's explorer.exe.
void ViewQuarantine(Context& context);

} // namespace grimsweep
