// Simulated System Restore: accepts or refuses requests and records them.
#pragma once

#include <string>
#include <vector>

#include "platform/restore_points.h"

namespace grimsweep::sim {

class SimRestorePoints : public IRestorePoints {
public:
    RestorePointResult Begin(const std::string& description, std::uint32_t restorePointType) override {
        begun.push_back(description);
        lastType = restorePointType;
        return {accept, accept ? ++sequence : 0, accept ? 0u : 1u};
    }
    RestorePointResult End(std::int64_t sequenceNumber) override {
        ended.push_back(sequenceNumber);
        return {accept, sequenceNumber, accept ? 0u : 1u};
    }

    bool accept = true;
    std::int64_t sequence = 0;
    std::uint32_t lastType = 0;
    std::vector<std::string> begun;
    std::vector<std::int64_t> ended;
};

} // namespace grimsweep::sim
