// The network side of "gsdefs serve": HTTP on a local address, each request answered from the folder's
// store, until SIGINT or SIGTERM (Ctrl+C or a console close on Windows). Requests are answered by a pool
// of workers, so that a client that sends or reads slowly holds up no other; a request head must arrive
// within the time-out below.
#pragma once

#include <map>
#include <shared_mutex>
#include <string>
#include <string_view>

#include "update/definition_publisher.h"

namespace grimsweep {

// The time a request head, an answer's sending, or an idle connection's next request may take.
inline constexpr int kServeTimeoutSeconds = 5;
// The workers answering requests at once.
inline constexpr int kServeWorkers = 64;

// The answer to a request for `target` (path and raw query): the page's answer when every query value
// percent-decodes and a collection payload splits back into names, else "Bad request".
PageAnswer AnswerRequest(const ServiceFolder& folder, std::string_view target);

// The answers of the pages, kept while the folder's version stays the same, so that a service under load
// reads and parses the store once per change; the collection page is answered afresh every time. Safe from
// several threads at once.
class AnswerCache {
public:
    explicit AnswerCache(const ServiceFolder& folder) : folder_(folder) {}
    PageAnswer Answer(std::string_view target);

private:
    const ServiceFolder& folder_;
    std::shared_mutex mutex_;
    std::string version_;
    std::map<std::string, PageAnswer, std::less<>> answers_;
};

// Serves until asked to stop; prints "listening on http://ADDRESS:PORT" first (the real port when
// `port` is 0). Returns the exit code: 0 after a stop request, 2 when the socket cannot be set up.
int ServeDefinitions(const ServiceFolder& folder, const std::string& address, int port);

} // namespace grimsweep
