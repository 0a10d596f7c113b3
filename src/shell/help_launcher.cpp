#include "shell/help_launcher.h"

#include "app/program.h"
#include "app/settings_keys.h"
#include "definitions/definition_status.h"

namespace grimsweep {

std::string ApplicationFolder(Program& program) {
    const std::string executable = program.machine.system.OwnExecutablePath();
    const auto slash = executable.rfind('\\');
    return slash == std::string::npos ? std::string() : executable.substr(0, slash);
}

bool ShowHelp(Program& program) {
    const std::string help = ApplicationFolder(program) + "\\" + std::string(kHelpFileName);
    if (!FileExists(program.machine.files, help)) {
        return false;
    }
    program.machine.shell.OpenWithDefaultHandler(help, "open");
    program.settings.Write(settings::kSectionSettings, settings::kShowHelp, "0");
    return true;
}

} // namespace grimsweep
