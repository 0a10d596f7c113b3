// The status text of one inspected item, built in one allocation: the stages make one per definition.
#pragma once

#include <string>
#include <string_view>

#include "scan/scan_run.h"

namespace grimsweep {

// The same text as ScanRun::StatusText: the stage caption, a line break and the item.
inline std::string StatusLine(const ScanRun& run, std::string_view item) {
    const std::string& prefix = run.state.stagePrefix;
    std::string line;
    line.reserve(prefix.size() + 2 + item.size());
    return line.append(prefix).append("\r\n").append(item);
}

} // namespace grimsweep
