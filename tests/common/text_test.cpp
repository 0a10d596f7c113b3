#include "common/text.h"

#include <gtest/gtest.h>

namespace grimsweep {
namespace {

TEST(Text, ReplaceAllScansOnceAndDoesNotRescanReplacements) {
    EXPECT_EQ(ReplaceAll("a\\\\\\b", "\\\\", "\\"), "a\\\\b"); // three backslashes: one pair collapsed
    EXPECT_EQ(ReplaceAll("xx", "x", "xx"), "xxxx");
    EXPECT_EQ(ReplaceAllIgnoreCase("[AppData]x[APPDATA]", "[appdata]", "D\\"), "D\\xD\\");
    EXPECT_EQ(ReplaceAll("abc", "", "z"), "abc");
}

TEST(Text, SplitKeepsEmptyPiecesAndGivesNoneForEmptyText) {
    EXPECT_TRUE(Split("", "|").empty());
    EXPECT_EQ(Split("a||b|", "|"), (std::vector<std::string>{"a", "", "b", ""}));
    EXPECT_EQ(Split("a\r\nb", "\r\n"), (std::vector<std::string>{"a", "b"}));
}

TEST(Text, CaseInsensitiveSearchAndTrim) {
    EXPECT_EQ(FindIgnoreCase("C:\\Start Menu\\x", "\\start menu"), 2u);
    EXPECT_EQ(FindIgnoreCase("abc", "abcd"), std::string::npos);
    EXPECT_EQ(FindIgnoreCase("abcabc", "ABC", 1), 3u);
    EXPECT_EQ(Trim("  a b  "), "a b");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(Trim("\ta\t"), "\ta\t"); // only blanks are trimmed
    EXPECT_EQ(AfterLastBackslash("C:\\a\\b.exe"), "b.exe");
    EXPECT_EQ(AfterLastBackslash("b.exe"), "b.exe");
}

TEST(Text, UpperFirstHandlesAsciiLatinAndOtherText) {
    EXPECT_EQ(UpperFirst("complete"), "Complete");
    EXPECT_EQ(UpperFirst(""), "");
    EXPECT_EQ(UpperFirst("\xC3\xA9tape"), "\xC3\x89tape"); // é -> É
    EXPECT_EQ(UpperFirst("\xC3\xB7x"), "\xC3\xB7x");       // ÷ has no capital
    EXPECT_EQ(UpperFirst("1st"), "1st");
}

} // namespace
} // namespace grimsweep
