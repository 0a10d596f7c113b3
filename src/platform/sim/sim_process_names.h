// Simulated management query of process names: the names of the simulated running processes.
#pragma once

#include "common/text.h"
#include "platform/process_names.h"
#include "platform/sim/sim_processes.h"

namespace grimsweep::sim {

class SimProcessNames : public IProcessNames {
public:
    explicit SimProcessNames(SimProcesses& processes) : processes_(processes) {}

    std::optional<std::vector<std::string>> RunningProcessNames() override {
        if (fails) {
            return std::nullopt;
        }
        std::vector<std::string> names;
        for (const auto& process : processes_.running) {
            names.push_back(AfterLastBackslash(process.fullPath));
        }
        return names;
    }

    bool fails = false;

private:
    SimProcesses& processes_;
};

} // namespace grimsweep::sim
