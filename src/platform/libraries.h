// Looking up one of a library's exports.
#pragma once

#include <string>

namespace grimsweep {

struct LibraryProbe {
    bool loaded = false; // the file is a library (a PE image) that could be examined
    bool exportFound = false;
};

class ILibraries {
public:
    virtual ~ILibraries() = default;
    // Looks the export up in the library's file; the library is never loaded, nothing of it runs, and the
    // file is not held afterwards.
    virtual LibraryProbe ProbeExport(const std::string& libraryPath, const std::string& exportName) = 0;
};

} // namespace grimsweep
