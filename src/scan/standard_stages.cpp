#include "scan/standard_stages.h"

#include "scan/cookie_scan.h"
#include "scan/file_scan.h"
#include "scan/process_scan.h"
#include "scan/registry_scan.h"

namespace grimsweep {

ScanStages StandardScanStages() {
    ScanStages stages;
    stages.cookies = [](ScanRun& run) { ScanCookies(run); };
    stages.processes = [](ScanRun& run) {
        if (const auto outcome = RunProcessCheck(run)) {
            run.state.runningPrograms = outcome->runningCount;
        }
    };
    stages.registry = [](ScanRun& run) { ScanRegistry(run); };
    stages.files = [](ScanRun& run) { ScanFiles(run); };
    stages.folders = [](ScanRun& run) { ScanFolders(run); };
    return stages;
}

} // namespace grimsweep
