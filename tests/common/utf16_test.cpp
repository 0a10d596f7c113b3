#include "common/utf16.h"

#include <gtest/gtest.h>

namespace grimsweep {
namespace {

TEST(Utf16, ConvertsBothWaysIncludingPairsAndNuls) {
    // "aé€😀" and a NUL: one, two, three and four UTF-8 bytes; the last a surrogate pair.
    const std::string text("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\0", 11);
    const std::string wide("a\0\xE9\0\xAC\x20\x3D\xD8\x00\xDE\0\0", 12);
    EXPECT_EQ(Utf8ToUtf16Le(text), wide);
    EXPECT_EQ(Utf16LeToUtf8(wide), text);
    EXPECT_EQ(Utf16LeToUtf8(""), "");
}

TEST(Utf16, RefusesWhatCannotBeUndone) {
    EXPECT_FALSE(Utf16LeToUtf8("abc")) << "odd length";
    EXPECT_FALSE(Utf16LeToUtf8(std::string("\x3D\xD8", 2))) << "high surrogate at the end";
    EXPECT_FALSE(Utf16LeToUtf8(std::string("\x3D\xD8"
                                           "a\0",
                                           4)))
        << "high surrogate without its low one";
    EXPECT_FALSE(Utf16LeToUtf8(std::string("\x00\xDE", 2))) << "low surrogate alone";
    EXPECT_FALSE(Utf8ToUtf16Le("\xE9")) << "a code-page byte is no UTF-8";
    EXPECT_FALSE(Utf8ToUtf16Le("\xED\xA0\x80")) << "an encoded surrogate";
}

} // namespace
} // namespace grimsweep
