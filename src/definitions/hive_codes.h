// The one-character codes by which registry records name their root key.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/registry.h"

namespace grimsweep {

struct Hive {
    std::optional<RegistryRoot> root; // none for a number outside the table
    std::string name;                 // "HKEY_LOCAL_MACHINE"; empty for a number outside the table
};

// "0" classes root, "1" current user, "2" local machine, "3" users, "4" current config, "5" dyn data.
// The code is read as a 16-bit number, blanks around it allowed; a text that is no such number counts
// as 0. Callers build display paths from the returned name.
Hive HiveFromCode(std::string_view code);

// "HKEY_CURRENT_USER" for the current user, and so on for the roots of the code table; empty for any
// other root.
std::string_view RegistryRootName(RegistryRoot root);
// The root of that name (any case); nothing for a name outside the code table.
std::optional<RegistryRoot> RegistryRootFromName(std::string_view name);

} // namespace grimsweep
