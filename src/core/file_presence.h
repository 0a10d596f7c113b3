// The presence test for a file that every subsystem uses: the definitions, the scan, the help launcher.
#pragma once

#include <string_view>

#include "platform/file_system.h"

namespace grimsweep {

// True when a directory query for the exact path finds a plain file of that name: hidden and system
// files and folders count as absent, a path with wildcards never counts as present, errors as absent.
bool FileExists(IFileSystem& files, std::string_view path);

} // namespace grimsweep
