#include "scan/listed_prefix_index.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "common/case_folding.h"

namespace grimsweep {
namespace {

// The list view's partial find, row by row.
bool LinearHasPrefix(const std::vector<std::string>& rows, std::string_view prefix) {
    const auto foldedPrefix = FoldCase(prefix);
    return std::any_of(rows.begin(), rows.end(),
                       [&](const std::string& row) { return FoldCase(row).starts_with(foldedPrefix); });
}

TEST(ListedPrefixIndexTest, FindsRowsThatBeginWithThePrefixIgnoringCase) {
    ListedPrefixIndex index;
    EXPECT_FALSE(index.HasPrefix(""));
    index.Add("Foo - Foundation - Found");
    index.Add("EXCLUDED: C:\\x.exe");
    // Not listed as such, but a row begins with it.
    EXPECT_TRUE(index.HasPrefix("Foo - Found"));
    EXPECT_TRUE(index.HasPrefix("FOO - FOUND"));
    EXPECT_TRUE(index.HasPrefix(""));
    EXPECT_FALSE(index.HasPrefix("Fo - Found"));
    EXPECT_FALSE(index.HasPrefix("Foo - Foundation - Found!"));
    // A shorter row that sorts first neither hides the longer one nor counts itself.
    index.Add("Foo - Foun");
    EXPECT_TRUE(index.HasPrefix("Foo - Founda"));
    EXPECT_FALSE(index.HasPrefix("Foo - Fount"));
    index.Add("\xC3\x96"
              "ffner - Found"); // Öffner
    EXPECT_TRUE(index.HasPrefix("\xC3\xB6"
                                "ffner - found"));
    index.Clear();
    EXPECT_FALSE(index.HasPrefix("Foo"));
    EXPECT_FALSE(index.HasPrefix(""));
}

TEST(ListedPrefixIndexTest, AnswersAsTheLinearWalkOverGeneratedTexts) {
    // Few, clashing pieces so that prefixes of one another, case pairs and non-ASCII letters (Greek
    // sigmas, the Kelvin sign, sharp s, a lone continuation byte) meet often.
    const std::vector<std::string> pieces{
        "a", "A",        "b",    " - Found", " - found", "\xCE\xA3", "\xCF\x83", "\xCF\x82", "\xE2\x84\xAA",
        "k", "\xC3\x9F", "\x80", "Ab",       "."};
    std::mt19937 random(20261208);
    const auto makeText = [&] {
        std::string text;
        const auto length = random() % 5;
        for (std::size_t i = 0; i < length; ++i) {
            text += pieces[random() % pieces.size()];
        }
        return text;
    };
    for (int round = 0; round < 200; ++round) {
        ListedPrefixIndex index;
        std::vector<std::string> rows;
        const auto rowCount = random() % 12;
        for (std::size_t i = 0; i < rowCount; ++i) {
            rows.push_back(makeText());
            index.Add(rows.back());
        }
        for (int query = 0; query < 50; ++query) {
            // Half the prefixes are cut from a row, so that hits are common.
            auto prefix = makeText();
            if (!rows.empty() && query % 2 == 0) {
                const auto& row = rows[random() % rows.size()];
                prefix = row.substr(0, random() % (row.size() + 1));
            }
            ASSERT_EQ(index.HasPrefix(prefix), LinearHasPrefix(rows, prefix))
                << "prefix \"" << prefix << "\"";
        }
    }
}

} // namespace
} // namespace grimsweep
