#include "common/percent_encoding.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace grimsweep {
namespace {

// Every byte on its own: the unreserved ones stay, all others become "%" and two upper-case hex digits,
// and the encoded form decodes back to the byte.
TEST(PercentEncoding, EveryByteEncodesOutsideTheUnreservedCharactersAndDecodesBack) {
    const std::string unreserved = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-._~";
    std::string all;
    for (int byte = 0; byte <= 255; ++byte) {
        const std::string plain(1, static_cast<char>(byte));
        char escaped[4];
        std::snprintf(escaped, sizeof escaped, "%%%02X", byte);
        const bool kept = unreserved.find(static_cast<char>(byte)) != std::string::npos;
        EXPECT_EQ(PercentEncode(plain), kept ? plain : std::string(escaped)) << byte;
        EXPECT_EQ(PercentDecode(escaped), plain) << byte;
        all += plain;
    }
    EXPECT_EQ(PercentDecode(PercentEncode(all)), all);
    EXPECT_EQ(PercentEncode(""), "");
}

TEST(PercentEncoding, DecodingTakesEitherCaseKeepsPlusAndRefusesAMalformedEscape) {
    EXPECT_EQ(PercentDecode("3%2f16%2F2006%2012%3A00%3A00%20AM"), "3/16/2006 12:00:00 AM");
    EXPECT_EQ(PercentDecode("a+b"), "a+b");
    EXPECT_EQ(PercentDecode("%25"), "%");
    for (const char* malformed : {"%", "%4", "a%G1", "%1g", "%%41", "x%-1", "%\xC3\xA9"}) {
        EXPECT_EQ(PercentDecode(malformed), std::nullopt) << malformed;
    }
}

} // namespace
} // namespace grimsweep
