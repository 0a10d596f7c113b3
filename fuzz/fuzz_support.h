// Shared by the fuzz targets: the bytes as text, a macro table of the simulated machine, and a check
// that aborts (a finding) when an invariant fails.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "core/path_macros.h"
#include "platform/sim/sim_shell.h"

namespace grimsweep::fuzz {

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

inline const PathMacroTable& Macros() {
    static const PathMacroTable macros = [] {
        sim::SimShell shell;
        return PathMacroTable::Capture(shell);
    }();
    return macros;
}

inline void Require(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "invariant failed: %s\n", what);
        std::abort();
    }
}

} // namespace grimsweep::fuzz
