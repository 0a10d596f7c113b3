// The one long task the program runs at a time: a user scan, a removal or a Live Update. While one holds,
// the commands that would start another are disabled, so that a new scan cannot clear the lists a removal
// is walking and an update cannot re-arm the timers in the middle of either.
#pragma once

#include <functional>

namespace grimsweep {

enum class BusyTask { None, Scan, Removal, Update };

class BusyState {
public:
    BusyTask Current() const { return task_; }
    bool Busy() const { return depth_ > 0; }

    // Claims the program for the task; false, changing nothing, while another task holds it. `inside`
    // starts the task as a step of the one that holds (the removal that ends a scheduled scan); the
    // outer task holds on when it ends.
    bool Begin(BusyTask task, bool inside = false) {
        if (depth_ > 0 && !inside) {
            return false;
        }
        outer_[depth_ < kMaxDepth ? depth_ : kMaxDepth - 1] = task_;
        task_ = task;
        if (depth_++ == 0 && onChange) {
            onChange(true);
        }
        return true;
    }
    void End() {
        if (depth_ == 0) {
            return;
        }
        --depth_;
        task_ = outer_[depth_ < kMaxDepth ? depth_ : kMaxDepth - 1];
        if (depth_ == 0 && onChange) {
            onChange(false);
        }
    }

    // Called when the program becomes busy or idle.
    std::function<void(bool busy)> onChange;

private:
    static constexpr int kMaxDepth = 4;
    BusyTask task_ = BusyTask::None;
    BusyTask outer_[kMaxDepth] = {};
    int depth_ = 0;
};

// Holds the program busy for the life of a scope.
class BusyScope {
public:
    BusyScope(BusyState& state, BusyTask task, bool inside = false)
        : state_(state), held_(state.Begin(task, inside)) {}
    ~BusyScope() {
        if (held_) {
            state_.End();
        }
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;
    bool Held() const { return held_; }

private:
    BusyState& state_;
    bool held_;
};

} // namespace grimsweep
