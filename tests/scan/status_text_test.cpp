#include "scan/status_text.h"

#include <gtest/gtest.h>

#include "common/text.h"

namespace grimsweep {
namespace {

TEST(MaskStatusTextTest, DeletesTheWordsInAnyCaseInsideLongerNames) {
    EXPECT_EQ(MaskStatusText("Inspecting memory: \r\nC:\\Program Files\\BitchinTools\\run.exe"),
              "Inspecting memory: \r\nC:\\Program Files\\inTools\\run.exe");
    EXPECT_EQ(MaskStatusText("SHIT.dll, ShIt.exe, shit"), ".dll, .exe, ");
    EXPECT_EQ(MaskStatusText("moronmoron"), "");
}

TEST(MaskStatusTextTest, LongerWordsGoFirst) {
    // Deleting "fuck" first would leave "mother" and "er" behind.
    EXPECT_EQ(MaskStatusText("a motherfucker b"), "a  b");
    EXPECT_EQ(MaskStatusText("dumbass"), "");
    // Each word is deleted once, in list order: a later word formed by a deletion still goes.
    EXPECT_EQ(MaskStatusText("shfuckit"), "");
}

TEST(MaskStatusTextTest, KeepsEveryOtherByte) {
    const std::string text = "Sch\xC3\xA4"
                             "dlich\tfuck\xE2\x82\xAC\xFF\x80 \xC3\xA9sbitch";
    EXPECT_EQ(MaskStatusText(text), "Sch\xC3\xA4"
                                    "dlich\t\xE2\x82\xAC\xFF\x80 \xC3\xA9s");
    const std::string clean = "HKEY_LOCAL_MACHINE\\Software\\Classes\\\xE6\x97\xA5\xE6\x9C\xAC\r\n";
    EXPECT_EQ(MaskStatusText(clean), clean);
    EXPECT_EQ(MaskStatusText(""), "");
}

TEST(MaskStatusTextTest, TheListHoldsDistinctLowerCaseWordsBeforeTheirParts) {
    for (std::size_t i = 0; i < kMaskedWords.size(); ++i) {
        EXPECT_EQ(ToLower(kMaskedWords[i]), kMaskedWords[i]);
        for (std::size_t j = i + 1; j < kMaskedWords.size(); ++j) {
            // A later word that held an earlier one would never be reached whole (a repeat neither).
            EXPECT_EQ(kMaskedWords[j].find(kMaskedWords[i]), std::string_view::npos)
                << kMaskedWords[j] << " holds the earlier " << kMaskedWords[i];
        }
    }
}

} // namespace
} // namespace grimsweep
