#include "scan/process_list.h"

namespace grimsweep {

namespace {

constexpr std::uint32_t kIdleProcessId = 0;
// The System process of the NT family before Windows 2000; later ones use 4 or 8 and name it themselves.
constexpr std::uint32_t kSystemProcessId = 2;

std::string CutAtNul(std::string text) {
    if (const auto nul = text.find('\0'); nul != std::string::npos) {
        text.resize(nul);
    }
    return text;
}

bool Wanted(const std::string& name, std::string_view filter) {
    return !name.empty() && (filter.empty() || name.find(filter) != std::string::npos);
}

} // namespace

std::string ProcessBaseName(IProcesses& processes, std::uint32_t id) {
    if (id == kIdleProcessId) {
        return std::string(kIdleProcessName);
    }
    if (id == kSystemProcessId) {
        return std::string(kSystemProcessName);
    }
    MainModule module = processes.QueryMainModule(id);
    switch (module.status) {
    case ModuleQueryStatus::Ok:
        return CutAtNul(std::move(module.baseName));
    case ModuleQueryStatus::NameUnreadable:
        return std::string(kUnknownProcessName);
    case ModuleQueryStatus::CannotOpen:
    case ModuleQueryStatus::NoModules:
        break;
    }
    return {};
}

int ListProcesses(IProcesses& processes, std::vector<std::string>& names, std::vector<std::uint32_t>& ids,
                  std::string_view filter, bool useProcessStatus) {
    names.clear();
    ids.clear();
    auto add = [&](std::string name, std::uint32_t id) {
        if (Wanted(name, filter)) {
            names.push_back(std::move(name));
            ids.push_back(id);
        }
    };
    if (useProcessStatus) {
        const auto listed = processes.ListProcessIds();
        if (!listed) {
            return -1;
        }
        for (const std::uint32_t id : *listed) {
            add(ProcessBaseName(processes, id), id);
        }
    } else {
        const auto snapshot = processes.Snapshot();
        if (!snapshot) {
            return -1;
        }
        for (const auto& entry : *snapshot) {
            add(CutAtNul(entry.exeName), entry.id);
        }
    }
    return static_cast<int>(names.size());
}

} // namespace grimsweep
