#include "removal/quarantine_folder.h"

#include "app/program.h"

namespace grimsweep {

namespace {
constexpr std::string_view kExplorerCommand = "explorer ";
} // namespace

std::string QuarantineFolder(const Program& program) {
    return program.DataFile(kQuarantineFolderName);
}

void ViewQuarantine(Program& program) {
    const std::string folder = QuarantineFolder(program);
    if (!program.machine.files.FolderExists(folder)) {
        program.machine.files.CreateFolder(folder);
    }
    program.machine.shell.RunCommand(std::string(kExplorerCommand) + folder);
}

} // namespace grimsweep
