// The names of the running processes as the management interface lists them (Win32_Process).
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace grimsweep {

class IProcessNames {
public:
    virtual ~IProcessNames() = default;
    // Names in the order reported; nothing when the query cannot be made.
    virtual std::optional<std::vector<std::string>> RunningProcessNames() = 0;
};

} // namespace grimsweep
