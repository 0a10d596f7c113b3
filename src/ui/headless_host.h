// The host for tests: message boxes are answered from a script (first button when the script is empty)
// and every box shown is recorded; hooks run when the program lets messages run.
#pragma once

#include <deque>
#include <functional>
#include <vector>

#include "ui/ui_host.h"

namespace grimsweep {

class HeadlessHost : public IUiHost {
public:
    MessageBoxAnswer ShowMessageBox(const MessageBoxRequest& request) override;
    void PumpMessages() override;

    // Queues the answer for the next message box.
    void Answer(MessageBoxAnswer answer) { answers_.push_back(answer); }
    const std::vector<MessageBoxRequest>& Shown() const { return shown_; }
    // Runs at every message pump, before the pump returns.
    std::function<void()> onPump;
    int pumps = 0;

private:
    std::deque<MessageBoxAnswer> answers_;
    std::vector<MessageBoxRequest> shown_;
};

} // namespace grimsweep
