// What a scan stage works with: the program's context, the loaded definitions state (safe list,
// exclusions, counts), the path macros looked up once for the scan, the shared scan state, the result
// lists, and the driver's progress, pump and "user scan running" answers.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "core/context.h"
#include "core/path_macros.h"
#include "definitions/definition_state.h"
#include "scan/scan_lists.h"
#include "scan/scan_state.h"

namespace grimsweep {

// A running program that the executable definitions list, as the process check found it.
struct RunningThreat {
    std::uint32_t processId = 0;
    std::string imagePath;   // upper-cased, as compared with the definitions
    std::string name;        // the executable name, after the last backslash
    std::string companyName; // from its version resource; may be empty
};

class IScanFeedback {
public:
    virtual ~IScanFeedback() = default;
    // One item inspected: refreshes the Scan panel on every 100th report. A percent below 0 leaves its
    // bar unchanged.
    virtual void ReportProgress(std::string_view status, double stagePercent, double overallPercent) = 0;
    // Lets waiting window messages run once (clicks on Pause and Stop, painting, timers).
    virtual void Pump() = 0;
    // True while a user scan runs (the main window's "Scan Now" command is disabled).
    virtual bool UserScanRunning() const = 0;
};

class FolderListingCache;

struct ScanRun {
    Context& context;
    DefinitionState& definitions;
    const PathMacroTable& macros;
    ScanState& state;
    ScanLists& lists;
    IScanFeedback& feedback;
    // A listed running program met while no user scan runs (the memory alert); nothing when unset.
    std::function<void(const RunningThreat&)> onRunningThreatOutsideScan;
    // The file phase's folder listings, while it runs: answers file presence tests in bulk.
    FolderListingCache* fileListings = nullptr;

    // The stop request counts only while a user scan runs: the memory shield's checks ignore a flag a
    // cancelled scan may have left.
    bool StopRequested() const { return state.stopRequested && feedback.UserScanRunning(); }
    // The stage caption, a line break and the item.
    std::string StatusText(std::string_view item) const {
        return state.stagePrefix + "\r\n" + std::string(item);
    }
};

// part / whole × 100, or 0 for an empty whole.
inline double Percent(double part, double whole) {
    return whole > 0 ? part / whole * 100.0 : 0.0;
}

} // namespace grimsweep
