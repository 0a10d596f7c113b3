#include "ui/headless_host.h"

namespace grimsweep {

namespace {

MessageBoxAnswer FirstButton(MessageBoxButtons buttons) {
    switch (buttons) {
    case MessageBoxButtons::YesNo:
        return MessageBoxAnswer::Yes;
    case MessageBoxButtons::AbortRetryIgnore:
        return MessageBoxAnswer::Abort;
    case MessageBoxButtons::Ok:
        break;
    }
    return MessageBoxAnswer::Ok;
}

} // namespace

MessageBoxAnswer HeadlessHost::ShowMessageBox(const MessageBoxRequest& request) {
    shown_.push_back(request);
    if (answers_.empty()) {
        return FirstButton(request.buttons);
    }
    const MessageBoxAnswer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

void HeadlessHost::PumpMessages() {
    ++pumps;
    if (onPump) {
        onPump();
    }
}

} // namespace grimsweep
