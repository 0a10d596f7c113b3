// Looking up a library's export in its file, without loading it or running any of its code.
#pragma once

#include "platform/libraries.h"

namespace grimsweep::win32 {

class Win32Libraries : public ILibraries {
public:
    LibraryProbe ProbeExport(const std::string& libraryPath, const std::string& exportName) override;
};

} // namespace grimsweep::win32
