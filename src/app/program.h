// The program object: the process-wide state every subsystem works with (the machine, the window host,
// brand values, settings, the message catalogue, the data folder). The main window owns it; it is passed
// by reference.
#pragma once

#include <string>
#include <string_view>

#include "app/machine_settings.h"
#include "app/settings_store.h"
#include "definitions/definition_state.h"
#include "localization/message_catalogue.h"
#include "platform/machine.h"
#include "shell/brand_values.h"
#include "shell/skin.h"
#include "shell/tray_icon.h"
#include "ui/ui_host.h"

namespace grimsweep {

// The data folder's name below the user's Application Data folder.
inline constexpr std::string_view kDataFolderMacroPath = "[appdata]AntiSpywareDAT";

class Program {
public:
    // Loads the brand values; the settings store is addressed by the program name they give.
    Program(Machine machine, IUiHost& host);
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Sets the data folder to the expansion of "[appdata]AntiSpywareDAT" (no trailing backslash).
    void EstablishDataFolder();
    // data folder & "\" & name
    std::string DataFile(std::string_view name) const;

    Machine machine;
    IUiHost& host;
    BrandValues brand;
    SettingsStore settings;
    MachineSettings machineSettings;
    MessageCatalogue messages;
    std::string dataFolder;
    Skin skin;
    TrayIcon tray;
    // The page the website opener opens next ("Website"); cleared by the opener.
    std::string websitePage;
    DefinitionState definitions;
};

} // namespace grimsweep
