// The simulated shell: special folders of an English Windows XP profile for user "Tester", and a record
// of what was opened, run and shown in the notification area.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/shell.h"

namespace grimsweep::sim {

class SimShell : public IShell {
public:
    SimShell();

    std::optional<std::string> SpecialFolderPath(int csidl) override;
    std::optional<std::string> SpecialFolderPathFromIdList(int csidl) override;
    bool OpenWithDefaultHandler(const std::string& target, const std::string& verb) override;
    bool RunCommand(const std::string& commandLine) override;
    bool NotifyIcon(NotifyIconAction action, const NotifyIconRequest& request) override;

    // csidl -> path; a folder missing from the map fails its lookup.
    std::map<int, std::string> folders;
    int folderLookups = 0; // how many lookups were made, to check that callers cache them

    std::vector<std::string> opened;   // "verb|target"
    std::vector<std::string> commands; // command lines run
    bool iconShown = false;
    std::string iconTip;
};

} // namespace grimsweep::sim
