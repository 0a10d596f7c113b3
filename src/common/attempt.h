// Runs one step of a longer operation: a step that fails is skipped and the caller goes on with the
// next one, judging success afterwards from the result.
#pragma once

#include <exception>

namespace grimsweep {

// Runs the step; true when it finished, false when it failed (and was skipped).
template <typename Step> bool Attempt(Step&& step) noexcept {
    try {
        step();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace grimsweep
