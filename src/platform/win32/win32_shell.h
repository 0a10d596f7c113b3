// The shell through shell32: special folders, default handlers, commands, the notification icon.
#pragma once

#include "platform/shell.h"

namespace grimsweep::win32 {

class Win32Shell : public IShell {
public:
    std::optional<std::string> SpecialFolderPath(int csidl) override;
    std::optional<std::string> SpecialFolderPathFromIdList(int csidl) override;
    bool OpenWithDefaultHandler(const std::string& target, const std::string& verb) override;
    bool RunCommand(const std::string& commandLine) override;
    bool NotifyIcon(NotifyIconAction action, const NotifyIconRequest& request) override;
    bool RunsElevated() override;
    ElevatedRun RunAsAdministrator(const std::string& program, const std::string& parameters,
                                   const std::function<void()>& whileWaiting) override;
};

} // namespace grimsweep::win32
