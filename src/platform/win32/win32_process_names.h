// Names of the running processes through the management interface (WMI, Win32_Process).
#pragma once

#include "platform/process_names.h"

namespace grimsweep::win32 {

class Win32ProcessNames : public IProcessNames {
public:
    std::optional<std::vector<std::string>> RunningProcessNames() override;
};

} // namespace grimsweep::win32
