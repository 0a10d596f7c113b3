// An in-memory registry. Keys and value names compare without regard to case (of every letter, as
// Windows compares them) and keep the spelling they were created with. Fault knobs: access rights denied
// on a key and everything below it; keys that open with every right but refuse deletes.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/registry.h"

namespace grimsweep::sim {

class SimRegistry : public IRegistry {
public:
    SimRegistry();

    RegistryStatus OpenKey(RegistryRoot root, const std::string& path, std::uint32_t access) override;
    RegistryStatus CreateKey(RegistryRoot root, const std::string& path) override;
    RegistryStatus QueryValue(RegistryRoot root, const std::string& path, const std::string& name,
                              std::uint32_t access, RegistryValue& out) override;
    RegistryStatus SetValue(RegistryRoot root, const std::string& path, const std::string& name,
                            const RegistryValue& value) override;
    RegistryStatus DeleteValue(RegistryRoot root, const std::string& path, const std::string& name) override;
    RegistryStatus DeleteKeyTree(RegistryRoot root, const std::string& path) override;
    RegistryStatus ListSubKeys(RegistryRoot root, const std::string& path,
                               std::vector<std::string>& names) override;
    RegistryStatus ListValueNames(RegistryRoot root, const std::string& path,
                                  std::vector<std::string>& names) override;

    // Test knobs and shortcuts.
    // Opening this key, or any key below it, with any of these rights fails with access denied; so does
    // creating a sub-key below it when kKeyCreateSubKey is among them.
    void DenyAccess(RegistryRoot root, const std::string& path, std::uint32_t rights);
    void AllowAccess(RegistryRoot root, const std::string& path);
    // The key opens, reads and takes new values, but deleting its values (or, with the second knob,
    // deleting the key itself, alone or with a tree above it) fails with access denied. Stands for a key
    // guarded by another security program's registry filter, or whose permissions were set to refuse
    // deletion, as some unwanted programs do to keep their entries. A tree delete that meets such a key
    // stops there, as the system's does, leaving the sub-keys after it in place.
    void SetValueDeleteFails(RegistryRoot root, const std::string& path, bool fails);
    void SetKeyDeleteFails(RegistryRoot root, const std::string& path, bool fails);
    void PutString(RegistryRoot root, const std::string& path, const std::string& name,
                   const std::string& text);
    bool KeyExists(RegistryRoot root, const std::string& path) const;
    // The value as SetValue was given it; QueryValue reads string data by the system's rule instead.
    std::optional<RegistryValue> Value(RegistryRoot root, const std::string& path,
                                       const std::string& name) const;

private:
    struct Key {
        std::string name;
        std::uint32_t deniedRights = 0;
        bool valueDeleteFails = false;
        bool keyDeleteFails = false;
        std::map<std::string, std::unique_ptr<Key>> children; // by case-folded name
        std::map<std::string, std::pair<std::string, RegistryValue>>
            values; // case-folded name -> (name, value)
    };

    // The key at path, and the rights denied on the way to it; nullptr when a key is missing.
    const Key* Find(RegistryRoot root, const std::string& path, std::uint32_t* denied) const;
    Key* Find(RegistryRoot root, const std::string& path, std::uint32_t* denied);
    RegistryStatus OpenForAccess(RegistryRoot root, const std::string& path, std::uint32_t access, Key** key);
    RegistryStatus DeleteTree(Key& parent, const std::string& childKey);

    std::map<RegistryRoot, Key> roots_;
};

} // namespace grimsweep::sim
