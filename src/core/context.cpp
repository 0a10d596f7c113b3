#include "core/context.h"

#include "common/text.h"
#include "core/path_macros.h"

namespace grimsweep {

Context::Context(Machine machineIn, IUiHost& hostIn)
    : machine(machineIn), host(hostIn), brand(LoadBrandValues(machine.system)),
      settings(machine.registry, brand.companyName, brand.programName),
      machineSettings(machine.registry, brand.companyName, settings, host) {}

void Context::EstablishDataFolder() {
    dataFolder = ExpandPathMacros(machine.shell, kDataFolderMacroPath);
    while (!dataFolder.empty() && dataFolder.back() == '\\') {
        dataFolder.pop_back();
    }
}

std::string Context::DataFile(std::string_view name) const {
    return dataFolder + "\\" + std::string(name);
}

std::string Context::ApplicationFolder() const {
    const std::string executable = machine.system.OwnExecutablePath();
    const auto slash = executable.rfind('\\');
    return slash == std::string::npos ? std::string() : executable.substr(0, slash);
}

std::string Context::ApplicationFile(std::string_view name) const {
    return ApplicationFolder() + "\\" + std::string(name);
}

std::string Context::Message(std::string_view key) const {
    std::string text = ReplaceAllIgnoreCase(messages.getMessages(key), "[ProgramName]", brand.programName);
    text = ReplaceAllIgnoreCase(text, "[CompanyName]", brand.companyName);
    return ReplaceAllIgnoreCase(text, "[Website]", brand.website);
}

} // namespace grimsweep
