// The running processes as the scans and the removal see them: executable base names and identifiers in
// two parallel lists.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/processes.h"

namespace grimsweep {

inline constexpr std::string_view kIdleProcessName = "System Idle Process";
inline constexpr std::string_view kSystemProcessName = "System";
inline constexpr std::string_view kUnknownProcessName = "unknown";

// The base name of a process's first module: "System Idle Process" for 0, "System" for 2, "unknown" when
// the modules can be listed but the name cannot be read, empty when the process cannot be opened or its
// modules cannot be listed.
std::string ProcessBaseName(IProcesses& processes, std::uint32_t id);

// Fills the lists with every process whose base name is not empty and, with a filter, contains the
// filter (exact case). `useProcessStatus` lists identifiers and asks each for its first module; without
// it a tool-help snapshot gives the names. Returns the number listed, or -1 with both lists empty when
// the enumeration fails.
int ListProcesses(IProcesses& processes, std::vector<std::string>& names, std::vector<std::uint32_t>& ids,
                  std::string_view filter, bool useProcessStatus);

} // namespace grimsweep
