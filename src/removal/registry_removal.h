// Deleting the registry entries of the removal list: a named value, or a whole key (its default value
// first, then the key with all its sub-keys). Each entry is exported into the quarantine as a .reg file
// first and is not touched when that backup fails; what was deleted is recorded in the log.
#pragma once

#include <optional>
#include <string>

#include "platform/registry.h"
#include "removal/quarantine_log.h"
#include "removal/quarantine_store.h"

namespace grimsweep {

class Context;

// One row of the hidden registry list: root handle as a decimal number, key path, value name ("" for
// the whole key).
struct RegistryEntry {
    RegistryRoot root = RegistryRoot::CurrentUser;
    std::string keyPath;
    std::string valueName;
    bool wholeKey = false;
};

// The entry of a row's texts; nothing when the root is not a predefined root or the key path is empty.
std::optional<RegistryEntry> ParseRegistryEntry(const std::string& root, const std::string& keyPath,
                                                const std::string& valueName);

// "HKEY_CURRENT_USER\Software\Gloom" and, for a value, "\" + its name: how problems name the entry.
std::string RegistryEntryText(const RegistryEntry& entry);

class RegistryRemoval {
public:
    RegistryRemoval(Context& context, QuarantineStore& store, QuarantineLog& log);

    // Backs the entry up and deletes it.
    void Remove(const RegistryEntry& entry);
    // Whether the entry is still there (a key or value that cannot be looked at counts as there).
    bool Present(const RegistryEntry& entry);

private:
    // The entry's .reg backup in the quarantine, made once per removal.
    bool BackedUp(const RegistryEntry& entry);
    bool DeleteValue(const RegistryEntry& entry, const std::string& valueName);
    void Index(const RegistryEntry& entry);

    Context& context_;
    QuarantineStore& store_;
    QuarantineLog& log_;
};

} // namespace grimsweep
