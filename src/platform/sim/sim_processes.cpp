#include "platform/sim/sim_processes.h"

#include <algorithm>

#include "common/case_folding.h"
#include "common/text.h"

namespace grimsweep::sim {

std::optional<std::vector<std::uint32_t>> SimProcesses::ListProcessIds() {
    if (enumerationFails_) {
        return std::nullopt;
    }
    std::vector<std::uint32_t> ids;
    for (const auto& process : running) {
        ids.push_back(process.id);
    }
    return ids;
}

std::optional<std::vector<SnapshotEntry>> SimProcesses::Snapshot() {
    if (enumerationFails_) {
        return std::nullopt;
    }
    std::vector<SnapshotEntry> entries;
    for (const auto& process : running) {
        entries.push_back(
            {process.id, snapshotFullPaths ? process.fullPath : AfterLastBackslash(process.fullPath)});
    }
    return entries;
}

MainModule SimProcesses::QueryMainModule(std::uint32_t id) {
    MainModule module;
    SimProcess* process = Find(id);
    if (!process || CannotOpen(*process)) {
        module.status = ModuleQueryStatus::CannotOpen;
    } else if (process->noModules) {
        module.status = ModuleQueryStatus::NoModules;
    } else if (process->nameUnreadable) {
        module.status = ModuleQueryStatus::NameUnreadable;
    } else {
        module.status = ModuleQueryStatus::Ok;
        module.baseName = AfterLastBackslash(process->fullPath);
        module.fullPath = process->fullPath;
    }
    if (process && !process->reusedAfterLook.empty()) {
        endedByThemselves.push_back(id);
        *process = SimProcess{id, process->reusedAfterLook};
    }
    return module;
}

bool SimProcesses::Terminate(std::uint32_t id, std::uint32_t /*exitCode*/, bool debugPrivilege) {
    privilegeRequests.push_back(debugPrivilege);
    auto it = std::find_if(running.begin(), running.end(), [id](const SimProcess& p) { return p.id == id; });
    return it != running.end() && !CannotOpen(*it) && TryTerminate(it);
}

CheckedStop SimProcesses::TerminateIfImage(std::uint32_t id, const ImageCheck& isExpected,
                                           std::uint32_t /*exitCode*/, bool debugPrivilege) {
    privilegeRequests.push_back(debugPrivilege);
    auto it = std::find_if(running.begin(), running.end(), [id](const SimProcess& p) { return p.id == id; });
    if (it == running.end()) {
        return CheckedStop::Gone;
    }
    if (CannotOpen(*it)) {
        return CheckedStop::CannotOpen;
    }
    if (!isExpected(it->fullPath)) {
        return CheckedStop::OtherProgram;
    }
    return TryTerminate(it) ? CheckedStop::Terminated : CheckedStop::TerminateFailed;
}

bool SimProcesses::TryTerminate(std::vector<SimProcess>::iterator process) {
    ++process->terminateAttempts;
    if (process->endsDuringWait) {
        process->exiting = true;
        return false;
    }
    if (process->refusesToStop || process->terminateAttempts < process->stopsOnAttempt) {
        return false;
    }
    terminated.push_back(process->id);
    terminatedImages.push_back(process->fullPath);
    running.erase(process);
    return true;
}

bool SimProcesses::WaitForExit(std::uint32_t id, std::uint32_t /*milliseconds*/) {
    auto it = std::find_if(running.begin(), running.end(), [id](const SimProcess& p) { return p.id == id; });
    if (it == running.end()) {
        return true;
    }
    if (it->exiting) {
        running.erase(it);
        endedByThemselves.push_back(id);
        return true;
    }
    return false;
}

std::uint32_t SimProcesses::Start(const std::string& fullPath) {
    nextId_ += 4;
    running.push_back({nextId_, fullPath});
    return nextId_;
}

SimProcess* SimProcesses::Find(std::uint32_t id) {
    auto it = std::find_if(running.begin(), running.end(), [id](const SimProcess& p) { return p.id == id; });
    return it == running.end() ? nullptr : &*it;
}

bool SimProcesses::IsRunning(const std::string& baseName) const {
    return std::any_of(running.begin(), running.end(), [&](const SimProcess& p) {
        return EqualsFolded(AfterLastBackslash(p.fullPath), baseName);
    });
}

} // namespace grimsweep::sim
