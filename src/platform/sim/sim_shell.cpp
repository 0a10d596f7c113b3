#include "platform/sim/sim_shell.h"

namespace grimsweep::sim {

SimShell::SimShell() {
    const std::string user = "C:\\Documents and Settings\\Tester";
    const std::string all = "C:\\Documents and Settings\\All Users";
    folders = {
        {2, user + "\\Start Menu\\Programs"},
        {5, user + "\\My Documents"},
        {6, user + "\\Favorites"},
        {7, user + "\\Start Menu\\Programs\\Startup"},
        {8, user + "\\Recent"},
        {9, user + "\\SendTo"},
        {11, user + "\\Start Menu"},
        {16, user + "\\Desktop"},
        {20, "C:\\WINDOWS\\Fonts"},
        {21, user + "\\Templates"},
        {22, all + "\\Start Menu"},
        {23, all + "\\Start Menu\\Programs"},
        {25, all + "\\Desktop"},
        {26, user + "\\Application Data"},
        {29, user + "\\Start Menu\\Programs\\Startup"},
        {30, all + "\\Start Menu\\Programs\\Startup"},
        {31, all + "\\Favorites"},
        {32, user + "\\Local Settings\\Temporary Internet Files"},
        {33, user + "\\Cookies"},
        {34, user + "\\Local Settings\\History"},
        {35, all + "\\Application Data"},
        {36, "C:\\WINDOWS"},
        {37, "C:\\WINDOWS\\system32"},
        {38, "C:\\Program Files"},
        {40, user},
        {43, "C:\\Program Files\\Common Files"},
        {45, all + "\\Templates"},
        {46, all + "\\Documents"},
    };
}

std::optional<std::string> SimShell::SpecialFolderPath(int csidl) {
    ++folderLookups;
    auto it = folders.find(csidl);
    if (it == folders.end()) {
        return std::nullopt;
    }
    return it->second;
}

std::optional<std::string> SimShell::SpecialFolderPathFromIdList(int csidl) {
    return SpecialFolderPath(csidl);
}

bool SimShell::OpenWithDefaultHandler(const std::string& target, const std::string& verb) {
    opened.push_back(verb + "|" + target);
    return unopenable.count(target) == 0;
}

ElevatedRun SimShell::RunAsAdministrator(const std::string& program, const std::string& parameters,
                                         const std::function<void()>& whileWaiting) {
    elevatedRuns.push_back(program + " " + parameters);
    if (whileWaiting) {
        whileWaiting();
    }
    return administrator ? administrator(program, parameters) : ElevatedRun{};
}

bool SimShell::RunCommand(const std::string& commandLine) {
    commands.push_back(commandLine);
    return true;
}

bool SimShell::NotifyIcon(NotifyIconAction action, const NotifyIconRequest& request) {
    switch (action) {
    case NotifyIconAction::Add:
        iconShown = true;
        iconTip = request.tip;
        return true;
    case NotifyIconAction::Modify:
        if (!iconShown) {
            return false;
        }
        iconTip = request.tip;
        return true;
    case NotifyIconAction::Delete: {
        const bool wasShown = iconShown;
        iconShown = false;
        return wasShown;
    }
    }
    return false;
}

} // namespace grimsweep::sim
