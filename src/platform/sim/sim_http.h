// Simulated HTTP: answers by address; any other address cannot be opened. Fault knobs: answers that
// change from one request to the next, connections that cannot be opened or break in the middle of the
// body, and bodies that never end. Every request and every read is recorded.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/http.h"

namespace grimsweep::sim {

struct SimAnswer {
    std::string body;
    // The connection cannot be opened (the server is down or the name does not resolve).
    bool unreachable = false;
    // The connection breaks after this many bytes of the body: the reader gets them, then a read fails
    // (the fetch gives nothing), as when the server or the network goes away in the middle of a download.
    std::optional<std::size_t> breaksAfter;
    // The body never ends: `body` is sent again and again, as by a broken or hostile server that keeps
    // the connection open and sending. Only the reader can stop it.
    bool endless = false;
    // The server is slow: the reader waits this many ticks (kHttpWaitTickMilliseconds each) before the
    // first byte, hearing of each with nothing received.
    int waitTicks = 0;

    static SimAnswer Body(std::string body) {
        SimAnswer answer;
        answer.body = std::move(body);
        return answer;
    }
    static SimAnswer Slow(std::string body, int ticks) {
        SimAnswer answer = Body(std::move(body));
        answer.waitTicks = ticks;
        return answer;
    }
    static SimAnswer Unreachable() {
        SimAnswer answer;
        answer.unreachable = true;
        return answer;
    }
    static SimAnswer BreaksAfter(std::string body, std::size_t bytes) {
        SimAnswer answer = Body(std::move(body));
        answer.breaksAfter = bytes;
        return answer;
    }
    static SimAnswer Endless(std::string repeated) {
        SimAnswer answer = Body(std::move(repeated));
        answer.endless = true;
        return answer;
    }
};

class SimHttp : public IHttp {
public:
    std::optional<std::string> Get(const std::string& url, std::size_t chunkSize,
                                   const std::function<bool(std::size_t)>& onChunk) override;

    // The answers to the coming requests for the address, one per request in order; the last one keeps
    // answering after that. Takes precedence over `bodies`.
    void SetAnswers(const std::string& url, std::vector<SimAnswer> answers);
    // Reads made for the address over all its requests, as WinINet counts them: one per chunk, plus the
    // read that finds the end of the body or fails on a broken connection.
    int Reads(const std::string& url) const;

    std::map<std::string, std::string> bodies; // url -> body, the same answer to every request
    std::vector<std::string> requests;         // every url asked for, in order
    // A reader still reading an endless body after this many bytes gets a broken connection there, and
    // the overrun is counted, so that a test of a reader that never stops fails instead of hanging.
    std::size_t endlessLimit = std::size_t{64} << 20;
    int endlessOverruns = 0;

private:
    std::map<std::string, std::vector<SimAnswer>> answers_;
    std::map<std::string, std::size_t> answered_; // requests answered from answers_, by url
    std::map<std::string, int> reads_;
};

} // namespace grimsweep::sim
