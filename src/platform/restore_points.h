// System Restore.
#pragma once

#include <cstdint>
#include <string>

namespace grimsweep {

struct RestorePointResult {
    bool accepted = false;
    std::int64_t sequenceNumber = 0;
    std::uint32_t status = 0;
};

class IRestorePoints {
public:
    virtual ~IRestorePoints() = default;
    // Starts a restore point (event type BEGIN_SYSTEM_CHANGE) of the given restore point type.
    virtual RestorePointResult Begin(const std::string& description, std::uint32_t restorePointType) = 0;
    // Ends the restore point with that sequence number (END_SYSTEM_CHANGE).
    virtual RestorePointResult End(std::int64_t sequenceNumber) = 0;
};

} // namespace grimsweep
