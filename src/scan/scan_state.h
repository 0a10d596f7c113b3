// The state of the user scan that the stages share: the counters the Scan panel shows, the stop request,
// the current stage's caption and the progress throttle. The main window owns one for the program's life.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/system.h"

namespace grimsweep {

struct ScanCounters {
    std::int32_t cookiesAndProcesses = 0; // lblMemoryInspected
    std::int32_t registryEntries = 0;     // lblRegistryInspected
    std::int32_t filesAndFolders = 0;     // lblFilesFolderInspected
    std::int32_t threatsFound = 0;        // lblSoftwareFound, lblRemovePicSoftwareFound
    std::int32_t traces = 0;              // lbltracesFound: rows of the hidden removal lists
};

// The executable definitions as the 95/98/Me check keeps them: loaded once and kept for the process.
struct LegacyExecutables {
    std::vector<std::string> lines;        // decoded definition lines
    std::unordered_set<std::string> names; // their name fields, case folded and trimmed
    bool Empty() const { return lines.empty(); }
    void Clear() {
        lines.clear();
        names.clear();
    }
};

struct ScanState {
    ScanCounters counters;
    // Set by Stop; the stages leave their loops when they see it.
    bool stopRequested = false;
    // The current stage's caption followed by ": ".
    std::string stagePrefix;
    // Counts progress reports; the labels are refreshed on every 100th. Not reset when a scan starts.
    int progressCalls = 0;
    // Taken just before and just after the stages; the report prints them.
    LocalDateTime started;
    LocalDateTime finished;
    // Running programs the process check listed (lblTotalNoOfRunningItems); -1 when listing failed.
    std::int32_t runningPrograms = 0;
    // The scheduler started this scan and wants the findings removed without questions.
    bool removeAfterScan = false;
    LegacyExecutables legacyExecutables;
};

} // namespace grimsweep
