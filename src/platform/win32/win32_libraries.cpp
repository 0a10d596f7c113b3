#include "platform/win32/win32_libraries.h"

#include "platform/win32/windows_api.h"

#include "platform/win32/wide_text.h"

namespace grimsweep::win32 {

LibraryProbe Win32Libraries::ProbeExport(const std::string& libraryPath, const std::string& exportName) {
    // The libraries probed are suspected spyware: map them without resolving imports or running their
    // initialisation code, which is all an export lookup needs.
    HMODULE library = LoadLibraryExW(Widen(libraryPath).c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    if (!library) {
        return {};
    }
    LibraryProbe probe;
    probe.loaded = true;
    probe.exportFound = GetProcAddress(library, exportName.c_str()) != nullptr;
    FreeLibrary(library);
    return probe;
}

} // namespace grimsweep::win32
