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

void WriteRunAtStartup(IRegistry& registry, const std::string& executablePath) {
    const RunKeyEntry entry = RunKeyEntryFor(executablePath);
    const std::string path(kRunKeyPath);
    if (registry.CreateKey(RegistryRoot::LocalMachine, path) == kRegistryOk) {
        registry.SetValue(RegistryRoot::LocalMachine, path, entry.valueName,
                          RegistryValue::String(entry.data));
    }
}

void RemoveRunAtStartup(IRegistry& registry, const std::string& executablePath) {
    registry.DeleteValue(RegistryRoot::LocalMachine, std::string(kRunKeyPath),
                         RunKeyEntryFor(executablePath).valueName);
}

} // namespace grimsweep
