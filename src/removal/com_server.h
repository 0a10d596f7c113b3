// The unregistration step before a COM server (a DLL or OCX) is backed up and deleted: the library's
// self-registration export is looked up in the file, without loading the library or running any of its
// code.
#pragma once

#include <cstdint>
#include <string>

#include "platform/libraries.h"

namespace grimsweep {

inline constexpr std::string_view kUnregisterExport = "DllUnregisterServer";
inline constexpr std::string_view kRegisterExport = "DllRegisterServer";

// Looks up "DllUnregisterServer" ("DllRegisterServer" with the register flag) and calls nothing. Always
// true; the file stays in place for its backup. The window handle is the main window's, kept for the
// call's form.
bool UnregisterComServer(ILibraries& libraries, std::uintptr_t window, const std::string& path,
                         bool registerServer);

} // namespace grimsweep
