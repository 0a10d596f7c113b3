#include "scan/standard_stages.h"

#include "scan/cookie_scan.h"
#include "scan/process_scan.h"

namespace grimsweep {

ScanStages StandardScanStages() {
    ScanStages stages;
    stages.cookies = [](ScanRun& run) { ScanCookies(run); };
    stages.processes = [](ScanRun& run) {
        if (const auto outcome = RunProcessCheck(run)) {
            run.state.runningPrograms = outcome->runningCount;
        }
    };
    return stages;
}

} // namespace grimsweep
