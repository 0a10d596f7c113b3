// Process image paths as the system reports them can start with the system-root alias
// ("\SystemRoot\System32\...") or a device prefix ("\??\C:\WINDOWS\system32\..."); they are turned into
// ordinary paths under the system folder before they are compared with the definitions.
#pragma once

#include <string>
#include <string_view>

namespace grimsweep {

// The system folder, a backslash and what follows the last "SYSTEM32\" (any case) of the path with its
// blanks trimmed; for a later "SYSWOW64\" (32-bit programs on 64-bit Windows), the SysWOW64 folder beside
// the system folder instead. The path unchanged when it holds neither.
std::string NormaliseSystemPath(std::string_view path, std::string_view systemFolder);

} // namespace grimsweep
