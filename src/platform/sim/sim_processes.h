// Simulated running processes. Fault knobs: processes that cannot be opened, whose modules cannot be
// listed, that refuse to stop, and a failing enumeration.
#pragma once

#include <string>
#include <vector>

#include "platform/processes.h"

namespace grimsweep::sim {

struct SimProcess {
    std::uint32_t id = 0;
    std::string fullPath; // "C:\Program Files\Evil\evil.exe"
    bool cannotOpen = false;
    bool noModules = false;
    bool nameUnreadable = false;
    bool refusesToStop = false;
};

class SimProcesses : public IProcesses {
public:
    std::optional<std::vector<std::uint32_t>> ListProcessIds() override;
    std::optional<std::vector<SnapshotEntry>> Snapshot() override;
    MainModule QueryMainModule(std::uint32_t id) override;
    bool Terminate(std::uint32_t id, std::uint32_t exitCode, bool debugPrivilege) override;
    bool WaitForExit(std::uint32_t id, std::uint32_t milliseconds) override;

    // Starts a process with the next free identifier and returns it.
    std::uint32_t Start(const std::string& fullPath);
    SimProcess* Find(std::uint32_t id);
    bool IsRunning(const std::string& baseName) const;
    void SetEnumerationFails(bool fails) { enumerationFails_ = fails; }

    std::vector<SimProcess> running;
    std::vector<std::uint32_t> terminated; // identifiers stopped, in order

private:
    std::uint32_t nextId_ = 100;
    bool enumerationFails_ = false;
};

} // namespace grimsweep::sim
