// Plain HTTP GET, always from the server (no cache), direct connection.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace grimsweep {

inline constexpr int kHttpWaitTickMilliseconds = 50;

class IHttp {
public:
    virtual ~IHttp() = default;

    // Reads the whole body of a 200 answer in chunks of at most `chunkSize` bytes; `onChunk`
    // runs after each chunk with the number of bytes received so far, and about every
    // kHttpWaitTickMilliseconds while the answer is awaited with the count unchanged (so the caller can
    // let window messages through and give up); it returns whether to read on (false stops reading: the
    // body so far is the result, so a caller can bound a body that never ends). Nothing when the connection
    // or the address cannot be opened, when the answer's status is not 200, when a read fails in the middle
    // of the body or the body ends before the length the answer announced (a body cut short is never taken
    // for a whole one), or when the server is silent or trickles beyond the implementation's time limits.
    virtual std::optional<std::string> Get(const std::string& url, std::size_t chunkSize,
                                           const std::function<bool(std::size_t)>& onChunk) = 0;
};

} // namespace grimsweep
