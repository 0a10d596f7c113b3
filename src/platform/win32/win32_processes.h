// Running processes through psapi, tool help and kernel32.
#pragma once

#include "platform/processes.h"

namespace grimsweep::win32 {

class Win32Processes : public IProcesses {
public:
    std::optional<std::vector<std::uint32_t>> ListProcessIds() override;
    std::optional<std::vector<SnapshotEntry>> Snapshot() override;
    MainModule QueryMainModule(std::uint32_t id) override;
    bool Terminate(std::uint32_t id, std::uint32_t exitCode, bool debugPrivilege) override;
    CheckedStop TerminateIfImage(std::uint32_t id, const ImageCheck& isExpected, std::uint32_t exitCode,
                                 bool debugPrivilege) override;
    bool WaitForExit(std::uint32_t id, std::uint32_t milliseconds) override;
};

} // namespace grimsweep::win32
