#include "removal/registry_backup.h"

#include "definitions/hive_codes.h"

namespace grimsweep {

std::string_view RegistryRootName(RegistryRoot root) {
    switch (root) {
    case RegistryRoot::ClassesRoot:
        return "HKEY_CLASSES_ROOT";
    case RegistryRoot::CurrentUser:
        return "HKEY_CURRENT_USER";
    case RegistryRoot::LocalMachine:
        return "HKEY_LOCAL_MACHINE";
    case RegistryRoot::Users:
        return "HKEY_USERS";
    case RegistryRoot::CurrentConfig:
        return "HKEY_CURRENT_CONFIG";
    case RegistryRoot::DynData:
        return "HKEY_DYN_DATA";
    default:
        return "";
    }
}

// Placeholder until the .reg writer lands.
std::optional<std::string> ExportRegistryEntry(IRegistry&, ISystem&, RegistryRoot, const std::string&,
                                               const std::optional<std::string>&) {
    return std::string("REGEDIT4\r\n\r\n");
}

bool ImportRegistryText(IRegistry&, ISystem&, const std::string&) {
    return false;
}

} // namespace grimsweep
