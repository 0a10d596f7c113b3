#include "platform/sim/sim_http.h"

#include <algorithm>

namespace grimsweep::sim {

std::optional<std::string> SimHttp::Get(const std::string& url, std::size_t chunkSize,
                                        const std::function<void(std::size_t)>& onChunk) {
    requests.push_back(url);
    auto it = bodies.find(url);
    if (it == bodies.end()) {
        return std::nullopt;
    }
    const std::string& body = it->second;
    std::string received;
    const std::size_t step = std::max<std::size_t>(chunkSize, 1);
    for (std::size_t pos = 0; pos < body.size(); pos += step) {
        received += body.substr(pos, step);
        if (onChunk) {
            onChunk(received.size());
        }
    }
    return received;
}

} // namespace grimsweep::sim
