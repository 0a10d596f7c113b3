// Simulated running processes. Fault knobs: processes that cannot be opened, whose modules cannot be
// listed, that refuse to stop, that end during the wait after a failed stop, that stop only on a later
// attempt, whose identifier passes to another program right after a look at them, and a failing
// enumeration.
#pragma once

#include <string>
#include <vector>

#include "platform/processes.h"

namespace grimsweep::sim {

struct SimProcess {
    std::uint32_t id = 0;
    std::string fullPath; // "C:\Program Files\Evil\evil.exe"
    bool cannotOpen = false;
    // Runs as another user or as the system: a standard user cannot open it, with or without asking for
    // the debug privilege (which only administrators hold).
    bool otherUsers = false;
    bool noModules = false;
    bool nameUnreadable = false;
    bool refusesToStop = false;
    // Terminating fails, but the process is gone by the end of the wait that follows: it was already
    // exiting (Windows refuses to terminate a process that is on its way out).
    bool endsDuringWait = false;
    // Terminating fails on every attempt before this one and works on it (0: the first works). Stands
    // for a process that is briefly out of reach, as while it starts or while a debugger holds it.
    int stopsOnAttempt = 0;
    // When set, the process ends right after QueryMainModule has looked at it and its identifier passes to
    // a new process running this image: what a stop that looks and then opens the process anew can meet.
    std::string reusedAfterLook = {};
    int terminateAttempts = 0; // calls of Terminate, and of TerminateIfImage that got to terminating
    bool exiting = false;      // set by a failed Terminate of an endsDuringWait process
};

class SimProcesses : public IProcesses {
public:
    std::optional<std::vector<std::uint32_t>> ListProcessIds() override;
    std::optional<std::vector<SnapshotEntry>> Snapshot() override;
    MainModule QueryMainModule(std::uint32_t id) override;
    bool Terminate(std::uint32_t id, std::uint32_t exitCode, bool debugPrivilege) override;
    CheckedStop TerminateIfImage(std::uint32_t id, const ImageCheck& isExpected, std::uint32_t exitCode,
                                 bool debugPrivilege) override;
    bool WaitForExit(std::uint32_t id, std::uint32_t milliseconds) override;

    // Starts a process with the next free identifier and returns it.
    std::uint32_t Start(const std::string& fullPath);
    SimProcess* Find(std::uint32_t id);
    bool IsRunning(const std::string& baseName) const;
    void SetEnumerationFails(bool fails) { enumerationFails_ = fails; }

    std::vector<SimProcess> running;
    std::vector<std::uint32_t> terminated;        // identifiers stopped, in order
    std::vector<std::string> terminatedImages;    // the image each of them ran
    std::vector<std::uint32_t> endedByThemselves; // identifiers that ended during a wait, in order
    std::vector<bool> privilegeRequests;          // the debugPrivilege of every termination call
    // The program runs as a standard user: other users' processes are out of its reach.
    bool standardUser = false;
    // Snapshots name each process by its full path, as the 95/98/Me family does, instead of its file name.
    bool snapshotFullPaths = false;

private:
    bool CannotOpen(const SimProcess& process) const {
        return process.cannotOpen || (standardUser && process.otherUsers);
    }
    // One termination of a process that can be opened: false when its knobs make it fail.
    bool TryTerminate(std::vector<SimProcess>::iterator process);

    std::uint32_t nextId_ = 100;
    bool enumerationFails_ = false;
};

} // namespace grimsweep::sim
