#include "common/case_folding.h"

#include <gtest/gtest.h>

#include <random>

#include "common/utf8.h"

namespace grimsweep {
namespace {

TEST(CaseFolding, LettersOfEveryScriptCompareWithoutCase) {
    EXPECT_TRUE(EqualsFolded("B\xC3\x96SE.EXE", "B\xC3\xB6se.exe")); // BÖSE / Böse
    EXPECT_TRUE(EqualsFolded("\xC5\x81\xC3\x93"
                             "D\xC5\xB9",
                             "\xC5\x82\xC3\xB3"
                             "d\xC5\xBA")); // ŁÓDŹ / łódź
    EXPECT_TRUE(EqualsFolded("\xD0\x97\xD0\x9B\xD0\x9E.exe", "\xD0\xB7\xD0\xBB\xD0\xBE.EXE")); // ЗЛО / зло
    // Greek: capital, small and final sigma are one letter.
    EXPECT_TRUE(EqualsFolded("\xCE\xA3\xCE\x9F\xCE\xA6\xCE\x8A\xCE\x91\xCE\xA3",
                             "\xCF\x83\xCE\xBF\xCF\x86\xCE\xAF\xCE\xB1\xCF\x82")); // ΣΟΦΊΑΣ / σοφίας
    EXPECT_TRUE(EqualsFolded("\xF0\x90\x90\x80", "\xF0\x90\x90\xA8"));             // Deseret, four bytes each
    EXPECT_TRUE(EqualsFolded("\xE2\x84\xAA", "k")); // Kelvin sign: three bytes to one
    EXPECT_EQ(FoldCase("A\xC3\x80\xC3\x89Z"), "a\xC3\xA0\xC3\xa9z");
    EXPECT_FALSE(EqualsFolded("BOSE.EXE", "B\xC3\xB6se.exe"));
    EXPECT_FALSE(EqualsFolded("\xC3\x96", "\xC3\x95")); // Ö is not Õ
}

TEST(CaseFolding, OnlySimpleMappingsAreUsed) {
    EXPECT_TRUE(EqualsFolded("\xE1\xBA\x9E", "\xC3\x9F")); // capital sharp s (an S mapping) is ß
    EXPECT_FALSE(EqualsFolded("\xC3\x9F", "ss"));          // ß to "ss" is a full mapping
    EXPECT_FALSE(EqualsFolded("\xC4\xB0", "i"));           // dotted capital I folds only in Turkic rules
    EXPECT_EQ(FoldCodePoint(U'\u0130'), U'\u0130');
    EXPECT_EQ(FoldCodePoint(U'\uFB01'), U'\uFB01'); // the ligature fi has only a full mapping
    EXPECT_FALSE(CaseFoldingVersion().empty());
}

TEST(CaseFolding, FoldingTwiceChangesNothingForAnyCodePoint) {
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) {
            continue;
        }
        const char32_t folded = FoldCodePoint(c);
        ASSERT_EQ(FoldCodePoint(folded), folded) << std::hex << static_cast<std::uint32_t>(c);
        ASSERT_TRUE(folded <= 0x10FFFF && (folded < 0xD800 || folded > 0xDFFF));
    }
}

TEST(CaseFolding, IllFormedBytesStayAndCompareByteForByte) {
    for (const std::string bad :
         {"\xC3", "\xC0\x81", "\xC1\x81", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xF0\x9F\x98",
          "\xFF", "\x80\xBF", "\xF5\x80\x80\x80"}) {
        EXPECT_EQ(FoldCase(bad), bad);
        EXPECT_EQ(FoldCase(bad + "A\xC3\x96"), bad + "a\xC3\xB6");
    }
    EXPECT_FALSE(EqualsFolded("\xC1\x81", "a")); // an overlong "A" is not A
    EXPECT_FALSE(EqualsFolded("\xC3", "\xC3\x96"));
    EXPECT_TRUE(EqualsFolded("X\xFF\xC3\x96", "x\xFF\xC3\xB6"));
    EXPECT_FALSE(EqualsFolded("\xFF", "\xDF"));
}

TEST(CaseFolding, Utf8CodePointsAtTheBoundariesRoundTrip) {
    for (const char32_t c : {U'\u0000', U'\u007F', U'\u0080', U'\u07FF', U'\u0800', U'\uD7FF', U'\uE000',
                             U'\uFFFF', U'\U00010000', U'\U0010FFFF'}) {
        std::string text;
        AppendUtf8(text, c);
        const Utf8Unit unit = DecodeUtf8At(text, 0);
        EXPECT_TRUE(unit.wellFormed);
        EXPECT_EQ(unit.codePoint, c);
        EXPECT_EQ(unit.length, text.size());
    }
}

// Texts from pieces that collide under folding, with ill-formed bytes among them.
std::string RandomText(std::mt19937& random) {
    static const std::vector<std::string> kPieces = {
        "a",        "A",        "\xC3\x96", "\xC3\xB6",     "\xC3",     "\xFF", "\x80", "k", "\xE2\x84\xAA",
        "\xCE\xA3", "\xCF\x82", "\xCF\x83", "\xE1\xBA\x9E", "\xC3\x9F", "|",    " "};
    std::string text;
    for (std::size_t i = random() % 6; i > 0; --i) {
        text += kPieces[random() % kPieces.size()];
    }
    return text;
}

TEST(CaseFolding, QuickComparisonAgreesWithTheFoldedTexts) {
    std::mt19937 random(1454);
    for (int round = 0; round < 20000; ++round) {
        const std::string a = RandomText(random);
        const std::string b = RandomText(random);
        ASSERT_EQ(EqualsFolded(a, b), FoldCase(a) == FoldCase(b)) << a << " / " << b;
        ASSERT_EQ(FoldCase(FoldCase(a)), FoldCase(a)) << a;
        // An ASCII separator keeps the pieces apart: folding a joined list folds each piece alone.
        ASSERT_EQ(FoldCase(a + "|" + b), FoldCase(a) + "|" + FoldCase(b)) << a << " / " << b;
    }
}

} // namespace
} // namespace grimsweep
