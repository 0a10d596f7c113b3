// The registry through advapi32 (and shlwapi for deleting whole trees).
#pragma once

#include "platform/registry.h"

namespace grimsweep::win32 {

class Win32Registry : public IRegistry {
public:
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
};

} // namespace grimsweep::win32
