#include "ui/console_host.h"

#include <chrono>
#include <string>

namespace grimsweep {

namespace {

std::uint64_t SteadyMilliseconds() {
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
}

const char* AnswerName(MessageBoxAnswer answer) {
    switch (answer) {
    case MessageBoxAnswer::Yes:
        return "Yes";
    case MessageBoxAnswer::No:
        return "No";
    case MessageBoxAnswer::Abort:
        return "Abort";
    case MessageBoxAnswer::Retry:
        return "Retry";
    case MessageBoxAnswer::Ignore:
        return "Ignore";
    case MessageBoxAnswer::Ok:
        break;
    }
    return "OK";
}

// The box's text on console lines: CR LF and lone CRs become line ends, blank lines collapse.
std::string ConsoleLines(const std::string& text) {
    std::string lines;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            if (!lines.empty() && lines.back() != '\n') {
                lines += '\n';
            }
            continue;
        }
        lines += c;
    }
    while (!lines.empty() && lines.back() == '\n') {
        lines.pop_back();
    }
    return lines;
}

} // namespace

MessageBoxAnswer CautiousAnswer(const MessageBoxRequest& request) {
    switch (request.buttons) {
    case MessageBoxButtons::YesNo:
        return MessageBoxAnswer::No;
    case MessageBoxButtons::AbortRetryIgnore:
        return MessageBoxAnswer::Abort;
    case MessageBoxButtons::Ok:
        break;
    }
    return MessageBoxAnswer::Ok;
}

ConsoleHost::ConsoleHost(std::ostream& out, Policy policy)
    : out_(out), policy_(std::move(policy)), start_(SteadyMilliseconds()) {}

MessageBoxAnswer ConsoleHost::ShowMessageBox(const MessageBoxRequest& request) {
    HeadlessHost::ShowMessageBox(request);
    const MessageBoxAnswer answer = policy_ ? policy_(request) : CautiousAnswer(request);
    out_ << request.title << ": " << ConsoleLines(request.text);
    if (request.buttons != MessageBoxButtons::Ok) {
        out_ << " [" << AnswerName(answer) << "]";
    }
    out_ << '\n' << std::flush;
    return answer;
}

std::uint64_t ConsoleHost::Milliseconds() {
    return SteadyMilliseconds() - start_;
}

} // namespace grimsweep
