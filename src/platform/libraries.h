// Loading a library into the program's own process to look up one of its exports.
#pragma once

#include <string>

namespace grimsweep {

struct LibraryProbe {
    bool loaded = false;
    bool exportFound = false;
};

class ILibraries {
public:
    virtual ~ILibraries() = default;
    // Loads the library, looks the export up, releases the library again. The export is not called.
    virtual LibraryProbe ProbeExport(const std::string& libraryPath, const std::string& exportName) = 0;
};

} // namespace grimsweep
