#include "scan/definition_presence.h"

#include "core/file_presence.h"
#include "scan/folder_listing_cache.h"
#include "scan/scan_run.h"

namespace grimsweep {

bool DefinitionFilePresent(ScanRun& run, const std::string& path) {
    if (run.fileListings) {
        return run.fileListings->FileExists(path);
    }
    return FileExists(run.context.machine.files, path);
}

bool DefinitionFolderPresent(ScanRun& run, const std::string& path) {
    return run.context.machine.files.FolderExists(path);
}

} // namespace grimsweep
