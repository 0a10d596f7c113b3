#include "shell/help_launcher.h"

#include "core/context.h"
#include "core/file_presence.h"
#include "core/settings_keys.h"

namespace grimsweep {

bool ShowHelp(Context& context) {
    const auto open = [&context](std::string_view name) {
        const std::string path = context.ApplicationFile(name);
        return FileExists(context.machine.files, path) &&
               context.machine.shell.OpenWithDefaultHandler(path, "open");
    };
    if (!open(kHelpFileName) && !open(kHelpPagesIndex)) {
        return false;
    }
    context.settings.Write(settings::kSectionSettings, settings::kShowHelp, "0");
    return true;
}

} // namespace grimsweep
