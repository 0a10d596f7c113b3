// Registry entries as REGEDIT4 text (.reg files that regedit imports), for the backups of removed keys
// and values, and the import that puts them back.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/registry.h"
#include "platform/system.h"

namespace grimsweep {

// "HKEY_CURRENT_USER" and the other root names.
std::string_view RegistryRootName(RegistryRoot root);

// With a value name ("" the default value): that value under its key's header; without: the whole key
// with its values and sub-keys. Nothing when the entry is not there or cannot be written in the code page.
std::optional<std::string> ExportRegistryEntry(IRegistry& registry, ISystem& system, RegistryRoot root,
                                               const std::string& keyPath,
                                               const std::optional<std::string>& valueName);

// Creates the keys and sets the values the text holds; false when a line could not be applied.
bool ImportRegistryText(IRegistry& registry, ISystem& system, const std::string& bytes);

} // namespace grimsweep
