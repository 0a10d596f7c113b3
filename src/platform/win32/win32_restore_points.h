// System Restore through srclient.dll, loaded when needed (it is missing on some systems).
#pragma once

#include <string>

#include "platform/restore_points.h"

namespace grimsweep::win32 {

// The description as the request carries it: at most 63 characters (the field of the service's 8-bit
// request holds 64 with the terminator), never ending in half a character.
std::wstring RestorePointDescription(const std::string& description);

class Win32RestorePoints : public IRestorePoints {
public:
    RestorePointResult Begin(const std::string& description, std::uint32_t restorePointType) override;
    RestorePointResult End(std::int64_t sequenceNumber) override;

private:
    RestorePointResult Call(std::uint32_t eventType, std::uint32_t restorePointType, std::int64_t sequence,
                            const std::string& description);
};

} // namespace grimsweep::win32
