// Running processes: enumeration, main module, stopping.
#pragma once

#include <cstdint>
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

class IProcesses {
public:
    virtual ~IProcesses() = default;

    // Every process identifier in the order the system reports them; nothing when enumeration fails.
    virtual std::optional<std::vector<std::uint32_t>> ListProcessIds() = 0;
    // The same through a tool-help snapshot.
    virtual std::optional<std::vector<SnapshotEntry>> Snapshot() = 0;
    // The first module of the process, opened with query-information and read access.
    virtual MainModule QueryMainModule(std::uint32_t id) = 0;
    // Opens the process with all access and terminates it; with debugPrivilege the program's own
    // token gets SeDebugPrivilege around the call. True when the termination call succeeded.
    virtual bool Terminate(std::uint32_t id, std::uint32_t exitCode, bool debugPrivilege) = 0;
    // Waits up to `milliseconds` for the process to end; true when it has ended (or no longer exists).
    virtual bool WaitForExit(std::uint32_t id, std::uint32_t milliseconds) = 0;
};

} // namespace grimsweep
