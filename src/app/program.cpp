#include "app/program.h"

#include "app/path_macros.h"

namespace grimsweep {

Program::Program(Machine machineIn, IUiHost& hostIn)
    : machine(machineIn), host(hostIn), brand(LoadBrandValues(machine.system)),
      settings(machine.registry, brand.companyName, brand.programName),
      machineSettings(machine.registry, brand.companyName, settings, host), tray(machine.shell) {}

void Program::EstablishDataFolder() {
    dataFolder = ExpandPathMacros(machine.shell, kDataFolderMacroPath);
    while (!dataFolder.empty() && dataFolder.back() == '\\') {
        dataFolder.pop_back();
    }
}

std::string Program::DataFile(std::string_view name) const {
    return dataFolder + "\\" + std::string(name);
}

} // namespace grimsweep
