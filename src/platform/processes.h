// Running processes: enumeration, main module, stopping.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace grimsweep {

struct SnapshotEntry {
    std::uint32_t id = 0;
    std::string exeName; // the executable field of a tool-help snapshot
};

enum class ModuleQueryStatus {
    Ok,
    CannotOpen,     // the process could not be opened for query-information and read access
    NoModules,      // its modules could not be listed
    NameUnreadable, // modules listed, but the name could not be read
};

struct MainModule {
    ModuleQueryStatus status = ModuleQueryStatus::CannotOpen;
    std::string baseName; // "evil.exe"
    std::string fullPath; // "C:\Program Files\Evil\evil.exe"; empty when it cannot be read
};

// What a stop that checks the image first came to.
enum class CheckedStop {
    Terminated,      // it ran the expected image and was terminated
    OtherProgram,    // the identifier runs another image, which is left running
    Gone,            // no process has the identifier, or it has already exited
    CannotOpen,      // it could not be opened or its image could not be read; nothing was done to it
    TerminateFailed, // it runs the expected image, but the termination call failed
};

// Tells from a process's full image path ("C:\Program Files\Evil\evil.exe") whether it is the program
// meant.
using ImageCheck = std::function<bool(const std::string& imagePath)>;

class IProcesses {
public:
    virtual ~IProcesses() = default;

    // Every process identifier in the order the system reports them; nothing when enumeration fails.
    virtual std::optional<std::vector<std::uint32_t>> ListProcessIds() = 0;
    // The same through a tool-help snapshot.
    virtual std::optional<std::vector<SnapshotEntry>> Snapshot() = 0;
    // The first module of the process, opened with query-information and read access.
    virtual MainModule QueryMainModule(std::uint32_t id) = 0;
    // Opens the process for termination and terminates it; with debugPrivilege the program's own
    // token gets SeDebugPrivilege around the call. True when the termination call succeeded.
    virtual bool Terminate(std::uint32_t id, std::uint32_t exitCode, bool debugPrivilege) = 0;
    // Opens the process once, reads its image path through that handle and, only when `isExpected`
    // accepts the path, terminates it through the same handle: the identifier cannot pass to another
    // program between the check and the termination. With debugPrivilege the program's own token gets
    // SeDebugPrivilege around the call; when that fails the process is still opened, since a user's own
    // processes need no privilege.
    virtual CheckedStop TerminateIfImage(std::uint32_t id, const ImageCheck& isExpected,
                                         std::uint32_t exitCode, bool debugPrivilege) = 0;
    // Waits up to `milliseconds` for the process to end; true when it has ended (or no longer exists).
    virtual bool WaitForExit(std::uint32_t id, std::uint32_t milliseconds) = 0;
};

} // namespace grimsweep
