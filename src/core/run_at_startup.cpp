#include "core/run_at_startup.h"

namespace grimsweep {

RunKeyEntry RunKeyEntryFor(const std::string& executablePath) {
    const auto slash = executablePath.rfind('\\');
    const std::string folder = slash == std::string::npos ? std::string() : executablePath.substr(0, slash);
    std::string name = slash == std::string::npos ? executablePath : executablePath.substr(slash + 1);
    if (const auto dot = name.rfind('.'); dot != std::string::npos) {
        name.erase(dot);
    }
    // Quoted, so that a folder with blanks ("C:\Program Files\...") cannot be read as "C:\Program".
    return {name, "\"" + folder + "\\" + name + "\""};
}

bool WriteRunAtStartup(IRegistry& registry, const std::string& executablePath) {
    const RunKeyEntry entry = RunKeyEntryFor(executablePath);
    const std::string path(kRunKeyPath);
    for (const RegistryRoot root : {RegistryRoot::LocalMachine, RegistryRoot::CurrentUser}) {
        if (registry.CreateKey(root, path) == kRegistryOk &&
            registry.SetValue(root, path, entry.valueName, RegistryValue::String(entry.data)) ==
                kRegistryOk) {
            return true;
        }
    }
    return false;
}

bool RemoveRunAtStartup(IRegistry& registry, const std::string& executablePath) {
    for (const RegistryRoot root : {RegistryRoot::LocalMachine, RegistryRoot::CurrentUser}) {
        registry.DeleteValue(root, std::string(kRunKeyPath), RunKeyEntryFor(executablePath).valueName);
    }
    return !RunAtStartupPresent(registry, executablePath);
}

bool RunAtStartupPresent(IRegistry& registry, const std::string& executablePath) {
    const std::string name = RunKeyEntryFor(executablePath).valueName;
    for (const RegistryRoot root : {RegistryRoot::LocalMachine, RegistryRoot::CurrentUser}) {
        RegistryValue value;
        if (registry.QueryValue(root, std::string(kRunKeyPath), name, kKeyQueryValue, value) == kRegistryOk) {
            return true;
        }
    }
    return false;
}

} // namespace grimsweep
