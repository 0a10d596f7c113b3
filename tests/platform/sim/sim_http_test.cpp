#include "platform/sim/sim_http.h"

#include <gtest/gtest.h>

namespace grimsweep::sim {
namespace {

const std::string kUrl = "http://127.0.0.1:8080/update.txt";

TEST(SimHttp, ReadsAreCountedAsWinInetMakesThem) {
    SimHttp http;
    http.bodies[kUrl] = std::string(256, 'x');
    std::vector<std::size_t> progress;
    const auto body = http.Get(kUrl, 256, [&](std::size_t received) {
        progress.push_back(received);
        return true;
    });
    EXPECT_EQ(body, std::string(256, 'x'));
    EXPECT_EQ(http.Reads(kUrl), 2); // the chunk, then the read that finds the end
    EXPECT_EQ(progress, std::vector<std::size_t>{256});
    EXPECT_EQ(http.Get("http://127.0.0.1:8080/other", 256, {}), std::nullopt);
}

TEST(SimHttp, AnswersChangeFromRequestToRequest) {
    SimHttp http;
    http.SetAnswers(
        kUrl, {SimAnswer::Unreachable(), SimAnswer::BreaksAfter("0123456789", 4), SimAnswer::Body("whole")});
    EXPECT_EQ(http.Get(kUrl, 3, {}), std::nullopt);
    EXPECT_EQ(http.Get(kUrl, 3, {}), std::nullopt); // chunks of 3 and 1, then the failing read
    EXPECT_EQ(http.Reads(kUrl), 3);
    EXPECT_EQ(http.Get(kUrl, 3, {}), "whole");
    EXPECT_EQ(http.Get(kUrl, 3, {}), "whole"); // the last answer stays
    EXPECT_EQ(http.requests.size(), 4u);
}

TEST(SimHttp, AnEndlessBodyGoesOnUntilTheReaderStops) {
    SimHttp http;
    http.SetAnswers(kUrl, {SimAnswer::Endless("ab")});
    const auto body = http.Get(kUrl, 256, [](std::size_t received) { return received < 1000; });
    EXPECT_EQ(body.value_or("").size(), 1024u);
    EXPECT_EQ(body.value_or("").substr(0, 5), "ababa");
    EXPECT_EQ(http.Reads(kUrl), 4);
    EXPECT_EQ(http.endlessOverruns, 0);

    // A reader that never stops meets a broken connection at the limit instead of hanging the test.
    http.endlessLimit = 4096;
    EXPECT_EQ(http.Get(kUrl, 256, {}), std::nullopt);
    EXPECT_EQ(http.endlessOverruns, 1);
}

} // namespace
} // namespace grimsweep::sim
