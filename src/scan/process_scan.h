// The process scan: every running program whose full executable path the executable definitions list is
// reported, unless it is Microsoft's, excluded or Grimsweep's own helper. During a user scan it is stopped
// and listed; outside one the memory alert takes it over.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "scan/scan_run.h"

namespace grimsweep {

// The helper program that ships with Grimsweep; it is never reported.
inline constexpr std::string_view kOwnHelperProgram = "AdwareProcessHelper.exe";
inline constexpr std::string_view kMemoryRowPrefix = "Detected in the memory : ";
inline constexpr std::string_view kMemoryRowStopped = " was stopped from running.";
// The results row for a program that is still running after every attempt to stop it; "[FileName]"
// stands for its executable name.
inline constexpr std::string_view kMsgMemoryNotStopped = "MSG_MEMORY_NOT_STOPPED";
inline constexpr std::string_view kFileNamePlaceholder = "[FileName]";
// The question of the 95/98/Me check: MSG_FOUND1, the name, MSG_FOUND2, the name, MSG_FOUND3.
inline constexpr std::string_view kMsgFound1 = "MSG_FOUND1";
inline constexpr std::string_view kMsgFound2 = "MSG_FOUND2";
inline constexpr std::string_view kMsgFound3 = "MSG_FOUND3";

struct ProcessScanOutcome {
    // The number of running processes listed (lblTotalNoOfRunningItems); -1 when they could not be listed.
    std::int32_t runningCount = 0;
    // Programs reported (stopped, not stopped, or handed to the memory alert).
    std::int32_t threatsReported = 0;
};

// The scan on the NT family.
ProcessScanOutcome ScanProcesses(ScanRun& run);

// The reaction to one listed program: during a user scan it is stopped first, then a row says whether it
// was; otherwise run.onRunningThreatOutsideScan gets it.
void ReportRunningThreat(ScanRun& run, const RunningThreat& threat);

// The check on the 95/98/Me family: a tool-help snapshot compared by executable name with the
// definitions kept in memory (ScanState::legacyExecutables). Outside a user scan a listed program is
// brought to the user with a Yes/No question: Yes stops it, No excludes it.
ProcessScanOutcome ScanProcessesLegacy(ScanRun& run);

// The process check as the user scan and the memory shield run it: ScanProcesses on the NT family,
// ScanProcessesLegacy on 95/98/Me, nothing (and no outcome) on any other platform.
std::optional<ProcessScanOutcome> RunProcessCheck(ScanRun& run);

} // namespace grimsweep
