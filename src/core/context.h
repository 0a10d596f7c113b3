// The process-wide context every subsystem works with: the machine, the window host, brand values, the
// settings store and machine-wide settings, the message catalogue, the data and application folders.
// The program's top owns it and passes it by reference; subsystems keep their own state themselves.
#pragma once

#include <string>
#include <string_view>

#include "core/brand_values.h"
#include "core/machine_settings.h"
#include "core/message_catalogue.h"
#include "core/settings_store.h"
#include "platform/machine.h"
#include "ui/ui_host.h"

namespace grimsweep {

// The data folder's name below the user's Application Data folder.
inline constexpr std::string_view kDataFolderMacroPath = "[appdata]AntiSpywareDAT";

class Context {
public:
    // Loads the brand values; the settings store is addressed by the program name they give.
    Context(Machine machine, IUiHost& host);
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;

    // Sets the data folder to the expansion of "[appdata]AntiSpywareDAT" (no trailing backslash).
    void EstablishDataFolder();
    // data folder & "\" & name
    std::string DataFile(std::string_view name) const;
    // The folder of the running executable, without trailing backslash.
    std::string ApplicationFolder() const;
    // application folder & "\" & name
    std::string ApplicationFile(std::string_view name) const;
    // The catalogue's message with the brand's names in place of "[ProgramName]", "[CompanyName]" and
    // "[Website]", for texts the program sets as it runs (a language file's texts have them already).
    std::string Message(std::string_view key) const;

    Machine machine;
    IUiHost& host;
    BrandValues brand;
    SettingsStore settings;
    MachineSettings machineSettings;
    MessageCatalogue messages;
    std::string dataFolder;
};

} // namespace grimsweep
