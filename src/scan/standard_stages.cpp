#include "scan/standard_stages.h"

#include "scan/cookie_scan.h"

namespace grimsweep {

ScanStages StandardScanStages() {
    ScanStages stages;
    stages.cookies = [](ScanRun& run) { ScanCookies(run); };
    return stages;
}

} // namespace grimsweep
