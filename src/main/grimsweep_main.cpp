// grimsweep.exe: wires the real machine and the Win32 host into the program object. Until the main window
// exists, it reports what it finds out about the machine it runs on.
#include "platform/win32/windows_api.h"

#include <cstdio>
#include <string>

#include "app/path_macros.h"
#include "app/program.h"
#include "app/settings_keys.h"
#include "platform/win32/win32_machine.h"
#include "platform/win32/win32_ui_host.h"

namespace {

void Line(const std::string& label, const std::string& value) {
    std::printf("%-28s %s\n", label.c_str(), value.c_str());
}

} // namespace

int wmain() {
    using namespace grimsweep;
    win32::Win32Machine machine;
    win32::Win32UiHost host;
    Program program(machine.View(), host);
    program.EstablishDataFolder();
    program.messages.RegisterDefaults();

    const OsVersion os = machine.system.GetOsVersion();
    Line("Program name", program.brand.programName);
    Line("Company", program.brand.companyName);
    Line("Website", program.brand.website);
    Line("Version", program.brand.VersionText());
    Line("Executable", machine.system.OwnExecutablePath());
    Line("Windows", "platform " + std::to_string(os.platformId) + ", version " + std::to_string(os.major) + "." +
                        std::to_string(os.minor) + " build " + std::to_string(os.build));
    Line("System folder", machine.system.SystemFolder());
    Line("Local time", machine.system.FormatDateTimeForDisplay(machine.system.Now()));
    Line("Data folder", program.dataFolder);
    Line("Settings key", "HKEY_CURRENT_USER\\" + program.settings.SectionPath(settings::kSectionSettings));
    Line("Language", program.settings.Read(settings::kSectionSettings, settings::kLanguage,
                                           settings::kLanguageDefault));
    Line("Welcome message", program.messages.getMessages("MSG_CAPTION2"));

    std::printf("\nSpecial folders:\n");
    const PathMacroTable folders = PathMacroTable::Capture(machine.shell);
    Line("  [drive]", folders.DriveRoot());
    for (const auto& row : kPathMacros) {
        Line("  " + std::string(row.macro), folders.Expand(row.macro));
    }
    Line("  " + std::string(kUserMacro), folders.Expand(kUserMacro));
    Line("  " + std::string(kAllUsersMacro), folders.Expand(kAllUsersMacro));
    return 0;
}
