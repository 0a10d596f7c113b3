// The simulated shell: special folders of an English Windows XP profile for user "Tester", and a record
// of what was opened, run and shown in the notification area.
#pragma once

#include <map>
#include <set>
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
    bool RunsElevated() override { return elevated; }
    // Records the run and answers with `administrator`, as Windows would after the user's answer; without
    // one the run fails.
    ElevatedRun RunAsAdministrator(const std::string& program, const std::string& parameters,
                                   const std::function<void()>& whileWaiting) override;

    // csidl -> path; a folder missing from the map fails its lookup.
    std::map<int, std::string> folders;
    int folderLookups = 0; // how many lookups were made, to check that callers cache them

    std::set<std::string> unopenable;  // targets no handler opens
    std::vector<std::string> opened;   // "verb|target"
    std::vector<std::string> commands; // command lines run
    bool elevated = true;              // a standard user's program is not
    std::function<ElevatedRun(const std::string& program, const std::string& parameters)> administrator;
    std::vector<std::string> elevatedRuns; // "program parameters"
    bool iconShown = false;
    std::string iconTip;
};

} // namespace grimsweep::sim
