#include "shell/help_launcher.h"

#include "core/context.h"
#include "core/file_presence.h"
#include "core/settings_keys.h"

namespace grimsweep {

bool ShowHelp(Context& context) {
    const std::string help = context.ApplicationFile(kHelpFileName);
    if (!FileExists(context.machine.files, help)) {
        return false;
    }
    context.machine.shell.OpenWithDefaultHandler(help, "open");
    context.settings.Write(settings::kSectionSettings, settings::kShowHelp, "0");
    return true;
}

} // namespace grimsweep
