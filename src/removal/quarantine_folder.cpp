#include "removal/quarantine_folder.h"

#include "core/context.h"

namespace grimsweep {

namespace {

constexpr int kCsidlWindows = 36;
constexpr std::string_view kExplorerProgram = "explorer.exe";

// The Windows folder from the shell, or else the folder above the system folder.
std::string WindowsFolder(const Machine& machine) {
    if (const auto folder = machine.shell.SpecialFolderPath(kCsidlWindows); folder && !folder->empty()) {
        return *folder;
    }
    const std::string system = machine.system.SystemFolder();
    return system.substr(0, system.rfind('\\'));
}

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

} // namespace

std::string QuarantineFolder(const Context& context) {
    return context.DataFile(kQuarantineFolderName);
}

void ViewQuarantine(Context& context) {
    const std::string folder = QuarantineFolder(context);
    if (!context.machine.files.FolderExists(folder)) {
        context.machine.files.CreateFolder(folder);
    }
    // By its full path, so that no explorer.exe in the current folder or on the search path is started.
    const std::string explorer = WindowsFolder(context.machine) + "\\" + std::string(kExplorerProgram);
    context.machine.shell.RunCommand(Quoted(explorer) + " " + Quoted(folder));
}

} // namespace grimsweep
