// The presence tests the file and folder scans make for each definition, in one place so that a faster
// way of answering them (a listing of each folder read once) can stand in without touching the scans.
#pragma once

#include <string>

namespace grimsweep {

struct ScanRun;

// Whether the file a definition names is present: a plain file (hidden and system files count as absent).
bool DefinitionFilePresent(ScanRun& run, const std::string& path);
// Whether the folder a definition names is present.
bool DefinitionFolderPresent(ScanRun& run, const std::string& path);

} // namespace grimsweep
