// System Restore around a removal: whether the system offers restore points, and the one restore point
// the program may hold open at a time.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "platform/restore_points.h"
#include "platform/system.h"

namespace grimsweep {

inline constexpr std::uint32_t kRemovalRestorePointType = 6;
inline constexpr int kRestorePointStillOpen = 100001;
inline constexpr std::string_view kRestorePointStillOpenText =
    "You must End the previous restore point first.";
// The description field holds 64 characters with its terminator.
inline constexpr std::size_t kRestorePointDescriptionLength = 63;

// Raised by a begin while a restore point is open.
class RestorePointError : public std::runtime_error {
public:
    RestorePointError() : std::runtime_error(std::string(kRestorePointStillOpenText)) {}
    int Number() const { return kRestorePointStillOpen; }
};

// Windows ME (9x 4.90), XP (NT 5.1) and every NT version above 5.
bool SupportsRestorePoints(const OsVersion& version);

class RestorePoint {
public:
    explicit RestorePoint(IRestorePoints& service) : service_(service) {}

    // Opens a restore point; true when the service accepted it. Raises RestorePointError while one is
    // open. The description is cut to the field's length.
    bool Begin(const std::string& description, std::uint32_t type);
    // Ends the open restore point (or sends 0 when none is open) and forgets it whatever the answer.
    bool End();
    std::int64_t Open() const { return open_; }

private:
    IRestorePoints& service_;
    std::int64_t open_ = 0;
};

} // namespace grimsweep
