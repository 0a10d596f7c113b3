// The shell: special folders, opening things with their default handler, running commands, and the
// notification-area icon.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/window_handle.h"

namespace grimsweep {

enum class NotifyIconAction : int { Add = 0, Modify = 1, Delete = 2 };

struct NotifyIconRequest {
    WindowHandle window = 0;      // receives the icon's callback messages
    unsigned callbackMessage = 0; // the window message the icon sends
    std::string iconResource;     // group icon resource name in the executable ("AAA")
    std::string tip;
};

enum class ElevatedRunStatus : int {
    Finished, // it ran as administrator and ended; exitCode is its exit code
    Declined, // the user said no to Windows' question
    Failed,   // it could not be started
};

struct ElevatedRun {
    ElevatedRunStatus status = ElevatedRunStatus::Failed;
    std::uint32_t exitCode = 0;
};

class IShell {
public:
    virtual ~IShell() = default;

    // The special folder's path without a trailing backslash, not creating it; nothing when the
    // folder has no file-system path or the lookup fails.
    virtual std::optional<std::string> SpecialFolderPath(int csidl) = 0;
    // The same through the folder's item-id list (SHGetSpecialFolderLocation, SHGetPathFromIDList).
    virtual std::optional<std::string> SpecialFolderPathFromIdList(int csidl) = 0;

    // Opens a file or address with its default handler in a normal window; verb "" is the default.
    virtual bool OpenWithDefaultHandler(const std::string& target, const std::string& verb) = 0;
    // Starts a command line ("notepad C:\x.dat") in a normal window without waiting for it.
    virtual bool RunCommand(const std::string& commandLine) = 0;

    virtual bool NotifyIcon(NotifyIconAction action, const NotifyIconRequest& request) = 0;

    // Whether this program runs with an administrator's full rights: an elevated token, or a Windows
    // without User Account Control, where there is nothing more to ask for.
    virtual bool RunsElevated() = 0;
    // Starts the program as administrator without a window (the "runas" verb: Windows asks the user)
    // and waits for it to end, calling `whileWaiting` about every 50 ms.
    virtual ElevatedRun RunAsAdministrator(const std::string& program, const std::string& parameters,
                                           const std::function<void()>& whileWaiting) = 0;
};

} // namespace grimsweep
