// The stages of a user scan as the program runs them, for the main window and the console scanner.
#pragma once

#include "scan/scan_driver.h"

namespace grimsweep {

ScanStages StandardScanStages();

} // namespace grimsweep
