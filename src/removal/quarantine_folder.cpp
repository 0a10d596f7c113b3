#include "removal/quarantine_folder.h"

#include "core/context.h"

namespace grimsweep {

namespace {
constexpr std::string_view kExplorerCommand = "explorer ";
} // namespace

std::string QuarantineFolder(const Context& context) {
    return context.DataFile(kQuarantineFolderName);
}

void ViewQuarantine(Context& context) {
    const std::string folder = QuarantineFolder(context);
    if (!context.machine.files.FolderExists(folder)) {
        context.machine.files.CreateFolder(folder);
    }
    context.machine.shell.RunCommand(std::string(kExplorerCommand) + folder);
}

} // namespace grimsweep
