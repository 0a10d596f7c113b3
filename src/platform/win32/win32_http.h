// HTTP GET through WinINet: direct connection, always from the server, within time limits.
#pragma once

#include <cstdint>

#include "platform/http.h"

namespace grimsweep::win32 {

// How long a fetch may take: to connect, between two pieces of the answer, and for the whole answer. A
// silent server ends a fetch after the connect or receive limit, a trickling one after the whole-answer
// limit (plus at most one receive limit for the piece under way).
struct HttpLimits {
    std::uint32_t connectMilliseconds = 15000;
    std::uint32_t receiveMilliseconds = 15000;
    std::uint32_t answerMilliseconds = 120000;
};

class Win32Http : public IHttp {
public:
    Win32Http() = default;
    explicit Win32Http(HttpLimits limits) : limits_(limits) {}

    std::optional<std::string> Get(const std::string& url, std::size_t chunkSize,
                                   const std::function<bool(std::size_t)>& onChunk) override;

private:
    HttpLimits limits_;
};

} // namespace grimsweep::win32
