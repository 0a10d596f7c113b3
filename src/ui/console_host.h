// The host of the console scanner: no windows (forms live only in the model) and nobody to click. A
// message box is printed as the lines it would show and answered at once by the console program's
// policy, so a console run never waits for a click.
#pragma once

#include <cstdint>
#include <functional>
#include <ostream>

#include "ui/headless_host.h"

namespace grimsweep {

// The answer that changes nothing: No to a question, Abort to Abort/Retry/Ignore, OK to a notice.
MessageBoxAnswer CautiousAnswer(const MessageBoxRequest& request);

class ConsoleHost : public HeadlessHost {
public:
    using Policy = std::function<MessageBoxAnswer(const MessageBoxRequest&)>;

    explicit ConsoleHost(std::ostream& out, Policy policy = CautiousAnswer);

    MessageBoxAnswer ShowMessageBox(const MessageBoxRequest& request) override;
    // Real milliseconds since the host was made.
    std::uint64_t Milliseconds() override;

    void SetPolicy(Policy policy) { policy_ = std::move(policy); }

private:
    std::ostream& out_;
    Policy policy_;
    std::uint64_t start_;
};

} // namespace grimsweep
