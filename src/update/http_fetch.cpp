#include "update/http_fetch.h"

#include "core/context.h"
#include "ui/control.h"

namespace grimsweep {

std::optional<std::string> FetchUrlBody(Context& context, const std::string& url, ui::Control* status) {
    bool tooLarge = false;
    std::size_t chunks = 0;
    const auto body = context.machine.http.Get(url, kFetchChunkBytes, [&](std::size_t received) {
        if (received > kMaxFetchBytes) {
            tooLarge = true;
            return false;
        }
        if (++chunks > 1) {
            if (status) {
                status->SetCaption("Downloaded " + std::to_string(received) + " bytes.");
            }
            context.host.PumpMessages();
        }
        return true;
    });
    if (!body || tooLarge) {
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
