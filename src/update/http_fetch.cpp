#include "update/http_fetch.h"

#include "common/text.h"
#include "core/context.h"
#include "ui/control.h"

namespace grimsweep {

std::optional<std::string> FetchUrlBody(Context& context, const std::string& url, ui::Control* status,
                                        const std::function<bool()>& cancelled) {
    bool tooLarge = false;
    bool stopped = false;
    std::size_t chunks = 0;
    std::size_t last = 0;
    const auto body = context.machine.http.Get(url, kFetchChunkBytes, [&](std::size_t received) {
        if (received > kMaxFetchBytes) {
            tooLarge = true;
            return false;
        }
        if (received == last) {
            context.host.PumpMessages(); // waiting for the server: the window keeps answering
        } else if (++chunks > 1) {
            if (status) {
                status->SetCaption(ReplaceAllIgnoreCase(context.Message("MSG_DOWNLOADED_BYTES"), "[Bytes]",
                                                        std::to_string(received)));
            }
            context.host.PumpMessages();
        }
        last = received;
        if (cancelled && cancelled()) {
            stopped = true;
            return false;
        }
        return true;
    });
    if (!body || tooLarge || stopped) {
        return std::nullopt;
    }
    return body;
}

std::string FetchUrlText(Context& context, const std::string& url) {
    return FetchUrlBody(context, url, nullptr).value_or("");
}

std::string FetchUrlTextWithProgress(Context& context, const std::string& url, ui::Control* status) {
    return FetchUrlBody(context, url, status).value_or("");
}

} // namespace grimsweep
