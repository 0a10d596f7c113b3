// gscan.exe: the console program on the same engine. Without arguments it runs the first start-up steps
// and reports what it finds out about the machine it runs on: brand values, data folder, definitions and
// every path macro. "gscan scan" runs a user scan with the stored options and prints the findings; its
// exit code is 0 when nothing was found, 1 when threats were found and 2 on an error. "gscan remove" scans
// and removes everything found without a question: 0 when all of it went, 1 when something stayed.
// "gscan update" runs Live Update against the service in Grimsweep.ini (0 when it ran, 2 when the
// service could not be reached). "gscan quarantine" lists the quarantined items and "gscan restore ITEM..."
// puts them back (exit code 0 when all came back, 1 when some did not, 2 on an error). "gscan
// remove-listed JOB DIGEST" is the removal as administrator that the program starts itself.
#include "platform/win32/windows_api.h"

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "app/console_elevated_removal.h"
#include "app/console_quarantine.h"
#include "app/console_scan.h"
#include "app/console_update.h"
#include "core/context.h"
#include "core/path_macros.h"
#include "core/run_at_startup.h"
#include "core/settings_keys.h"
#include "definitions/definition_status.h"
#include "definitions/exclusion_list.h"
#include "localization/languages.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_machine.h"
#include "scan/standard_stages.h"
#include "ui/console_host.h"

namespace {

void Line(const std::string& label, const std::string& value) {
    std::printf("%-28s %s\n", label.c_str(), value.c_str());
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    using namespace grimsweep;
    win32::Win32Machine machine;
    // A console program opens no window: message boxes are printed and answered without a click.
    ConsoleHost host(std::cout);
    Context context(machine.View(), host);
    context.EstablishDataFolder();
    context.messages.RegisterDefaults();
    // The user's language and the brand, as the program's window speaks them.
    Languages(context).ChangeMessages(
        context.settings.Read(settings::kSectionSettings, settings::kLanguage, settings::kLanguageDefault));
    const std::wstring command = argc >= 2 ? std::wstring(argv[1]) : std::wstring();
    // Started as administrator by a user's removal: it works in that user's data folder, named by the job.
    if (command == L"remove-listed") {
        if (argc != 4) {
            std::printf("Usage: gscan remove-listed JOBFILE DIGEST\n");
            return kListedRemovalRefused;
        }
        return RemoveListedItems(context, win32::Narrow(argv[2]), win32::Narrow(argv[3]), std::cout);
    }
    // Started as administrator by a user's program to remove the Run value every user's logon starts.
    if (command == L"run-at-logon") {
        const bool off = argc == 3 && std::wstring(argv[2]) == L"off";
        const std::string own = machine.system.OwnExecutablePath();
        const std::string program = own.substr(0, own.rfind('\\') + 1) + "grimsweep.exe";
        return off && RemoveRunAtStartup(machine.registry, program) ? 0 : 1;
    }
    // A new user of the machine starts from the definitions shipped beside the program.
    const int filled = FillFromSharedDefinitions(machine.files, context.dataFolder,
                                                 context.ApplicationFile(kSharedDefinitionsFolder));

    if (command == L"scan" || command == L"remove") {
        InstallPendingDefinitions(machine.files, context.dataFolder);
        // Progress is rewritten in place only on a console; redirected output gets plain lines.
        const bool console = GetFileType(GetStdHandle(STD_OUTPUT_HANDLE)) == FILE_TYPE_CHAR;
        return command == L"scan" ? RunConsoleScan(context, StandardScanStages(), std::cout, console)
                                  : RunConsoleRemoval(context, StandardScanStages(), std::cout, console);
    }
    if (command == L"update") {
        return RunConsoleUpdate(context, std::cout);
    }
    if (command == L"quarantine") {
        return ListQuarantine(context, std::cout);
    }
    if (command == L"restore") {
        std::vector<std::string> items;
        for (int i = 2; i < argc; ++i) {
            items.push_back(win32::Narrow(argv[i]));
        }
        return RestoreFromConsole(context, items, std::cout);
    }
    if (argc >= 2) {
        std::printf("Usage: gscan [scan | remove | update | quarantine | restore ITEM...]\n");
        return 2;
    }

    const OsVersion os = machine.system.GetOsVersion();
    Line("Program name", context.brand.programName);
    Line("Company", context.brand.companyName);
    Line("Website", context.brand.website);
    Line("Version", context.brand.VersionText());
    Line("Executable", machine.system.OwnExecutablePath());
    Line("Windows", "platform " + std::to_string(os.platformId) + ", version " + std::to_string(os.major) +
                        "." + std::to_string(os.minor) + " build " + std::to_string(os.build));
    Line("System folder", machine.system.SystemFolder());
    Line("Local time", machine.system.FormatDateTimeForDisplay(machine.system.Now()));
    Line("Data folder", context.dataFolder);
    Line("Settings key", "HKEY_CURRENT_USER\\" + context.settings.SectionPath(settings::kSectionSettings));
    Line("Language",
         context.settings.Read(settings::kSectionSettings, settings::kLanguage, settings::kLanguageDefault));
    Line("Welcome message", context.messages.getMessages("MSG_CAPTION2"));

    const int installed = InstallPendingDefinitions(machine.files, context.dataFolder);
    const DefinitionCounts counts = CountDefinitions(machine.files, context.dataFolder);
    ExclusionList exclusions;
    LoadExclusions(context, exclusions);
    std::printf("\nDefinitions:\n");
    Line("  Filled from shipped", std::to_string(filled));
    Line("  Downloads installed", std::to_string(installed));
    Line("  Cookie sites", std::to_string(counts.cookies));
    Line("  Executables", std::to_string(counts.executables));
    Line("  Registry entries", std::to_string(counts.registry));
    Line("  Files and folders", std::to_string(counts.filesAndFolders));
    Line("  Total", std::to_string(counts.total));
    Line("  Last updated", ReadDefinitionsDate(machine.files, machine.system, context.dataFolder) + " PST");

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
