// Process image paths as the system reports them can start with the system-root alias
// ("\SystemRoot\System32\...") or a device prefix ("\??\C:\WINDOWS\system32\..."); they are turned into
// ordinary paths under the system folder before they are compared with the definitions.
#pragma once

#include <string>
#include <string_view>

namespace grimsweep {

// The system folder, a backslash and what follows the last "SYSTEM32\" (any case) of the path with its
// blanks trimmed; the path unchanged when it holds no "SYSTEM32\".
std::string NormaliseSystemPath(std::string_view path, std::string_view systemFolder);

} // namespace grimsweep
