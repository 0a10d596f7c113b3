#include "platform/sim/sim_http.h"

#include <algorithm>

namespace grimsweep::sim {

std::optional<std::string> SimHttp::Get(const std::string& url, std::size_t chunkSize,
                                        const std::function<bool(std::size_t)>& onChunk) {
    requests.push_back(url);
    SimAnswer answer;
    if (auto queued = answers_.find(url); queued != answers_.end() && !queued->second.empty()) {
        std::size_t& taken = answered_[url];
        answer = queued->second[std::min(taken, queued->second.size() - 1)];
        ++taken;
    } else if (auto body = bodies.find(url); body != bodies.end()) {
        answer.body = body->second;
    } else {
        return std::nullopt;
    }
    if (answer.unreachable) {
        return std::nullopt;
    }

    const std::size_t step = std::max<std::size_t>(chunkSize, 1);
    const std::size_t length =
        answer.endless && !answer.body.empty()
            ? std::min(answer.breaksAfter.value_or(endlessLimit), endlessLimit)
            : std::min(answer.breaksAfter.value_or(answer.body.size()), answer.body.size());
    std::string received;
    for (int tick = 0; tick < answer.waitTicks; ++tick) {
        if (onChunk && !onChunk(0)) {
            return received;
        }
    }
    int& reads = reads_[url];
    while (true) {
        ++reads; // the read that gives the next chunk, finds the end, or fails
        if (received.size() >= length) {
            if (answer.endless && !answer.breaksAfter && received.size() >= endlessLimit) {
                ++endlessOverruns;
                return std::nullopt;
            }
            if (answer.breaksAfter && (answer.endless || *answer.breaksAfter < answer.body.size())) {
                return std::nullopt; // the read after the last bytes fails on the broken connection
            }
            return received;
        }
        const std::size_t count = std::min(step, length - received.size());
        for (std::size_t i = 0; i < count; ++i) {
            received += answer.body[(received.size()) % answer.body.size()];
        }
        if (onChunk && !onChunk(received.size())) {
            return received;
        }
    }
}

void SimHttp::SetAnswers(const std::string& url, std::vector<SimAnswer> answers) {
    answers_[url] = std::move(answers);
    answered_[url] = 0;
}

int SimHttp::Reads(const std::string& url) const {
    auto it = reads_.find(url);
    return it == reads_.end() ? 0 : it->second;
}

} // namespace grimsweep::sim
