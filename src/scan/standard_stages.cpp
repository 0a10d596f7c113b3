#include "scan/standard_stages.h"

namespace grimsweep {

ScanStages StandardScanStages() {
    ScanStages stages;
    return stages;
}

} // namespace grimsweep
