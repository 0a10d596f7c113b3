// Reading Localization.xml: groups, item lines and the bad files a user or a download can leave.
#include <gtest/gtest.h>

#include <string>

#include "localization/localization_text.h"

namespace grimsweep {
namespace {

std::string Group(const std::string& name, const std::string& items) {
    return "<LANGUAGE_GROUP xml:lang=\"x\">\r\n\t<LANGUAGE_NAME>" + name +
           "</LANGUAGE_NAME>\r\n\t<TRANSLATION_ITEMS>\r\n" + items +
           "\t</TRANSLATION_ITEMS>\r\n</LANGUAGE_GROUP>\r\n";
}

TEST(LocalizationText, GroupsAreFoundByNameInAnyCaseAndTagsMatchInAnyCase) {
    const std::string file = "<XML_DIZ_INFO>\r\n" +
                             Group("English", "\t\t<FRMMAIN_CMDSCAN>Scan Now</FRMMAIN_CMDSCAN>\r\n") +
                             Group("Deutsch", "\t\t<frmmain_cmdscan>Jetzt prüfen</frmmain_cmdscan>\r\n"
                                              " <MSG_SURE>Sicher?</MSG_SURE>\r\n") +
                             "</XML_DIZ_INFO>\r\n";
    const auto lines = LanguageItemLines(file, "deutsch");
    ASSERT_TRUE(lines.has_value());
    const TranslationItems items(*lines);
    EXPECT_EQ(items.Find("FRMMAIN_CMDSCAN"), "Jetzt prüfen");
    EXPECT_EQ(items.Find("msg_sure"), "Sicher?") << "a blank before the tag is allowed";
    EXPECT_FALSE(items.Find("MSG_STOP").has_value());
    EXPECT_FALSE(LanguageItemLines(file, "Français").has_value());
    const std::string french = Group("Français", "\t\t<MSG_SURE>Sûr ?</MSG_SURE>\r\n");
    EXPECT_TRUE(LanguageItemLines(french, "FRANÇAIS").has_value()) << "case is ignored beyond ASCII too";
    EXPECT_TRUE(HoldsCompleteLanguageGroups(file));
}

TEST(LocalizationText, TheFirstLineOfATagCountsAndALineWithoutItsEndTagGivesNothing) {
    const TranslationItems items({"", "<AA>first</AA>", "<AA>second</AA>", "<BB>no end", "<>", "x>",
                                  "<CC><CC>inner</CC>", "<D>short</D>"});
    EXPECT_EQ(items.Find("AA"), "first");
    EXPECT_FALSE(items.Find("BB").has_value());
    EXPECT_EQ(items.Find("CC"), "<CC>inner") << "the text runs from the first open tag to the first end tag";
    EXPECT_FALSE(items.Find("D").has_value()) << "a tag needs more than one letter";
    EXPECT_EQ(items.LineCount(), 8u);
}

TEST(LocalizationText, ACutOffFileKeepsTheWholeGroupsBeforeTheCutAndEndsTheSearch) {
    const std::string whole = Group("English", "\t\t<X>x</X>\r\n");
    const std::string cut = whole + "<LANGUAGE_GROUP>\r\n\t<LANGUAGE_NAME>Deutsch</LANGUAGE_NAME>\r\n"
                                    "\t<TRANSLATION_ITEMS>\r\n\t\t<X>y</X>\r\n";
    EXPECT_TRUE(LanguageItemLines(cut, "English").has_value());
    EXPECT_FALSE(LanguageItemLines(cut, "Deutsch").has_value()) << "half a group never translates";
    EXPECT_EQ(LanguageGroups(cut).size(), 1u);
    EXPECT_FALSE(HoldsCompleteLanguageGroups(cut));
    // A group start without any end, many times over, is read once and never loops.
    std::string starts;
    for (int i = 0; i < 1000; ++i) {
        starts += "<LANGUAGE_GROUP>";
    }
    EXPECT_TRUE(LanguageGroups(starts).empty());
    EXPECT_FALSE(HoldsCompleteLanguageGroups(""));
    EXPECT_FALSE(
        HoldsCompleteLanguageGroups("<LANGUAGE_GROUP><LANGUAGE_NAME>X</LANGUAGE_NAME></LANGUAGE_GROUP>"))
        << "a group without items is no language";
}

TEST(LocalizationText, LinesEndingInLineFeedsAloneAreSplitToo) {
    const std::string file = "<LANGUAGE_GROUP>\n<LANGUAGE_NAME>English</LANGUAGE_NAME>\n<TRANSLATION_ITEMS>\n"
                             "<AA>a</AA>\n<BB>b</BB>\n</TRANSLATION_ITEMS>\n</LANGUAGE_GROUP>\n";
    const TranslationItems items(*LanguageItemLines(file, "English"));
    EXPECT_EQ(items.Find("BB"), "b");
}

TEST(LocalizationText, BytesThatAreNotUtf8AreTakenAsLatin1AndUtf8StaysAsItIs) {
    EXPECT_EQ(DecodeLocalizationBytes("Pr\xFC"
                                      "fen"),
              "Prüfen");
    EXPECT_EQ(DecodeLocalizationBytes("Prüfen – ok"), "Prüfen – ok");
    EXPECT_EQ(DecodeLocalizationBytes(std::string("a\0b", 3)), std::string("a\0b", 3));
    EXPECT_EQ(DecodeLocalizationBytes("\xE2\x82"), "\xC3\xA2\xC2\x82") << "a cut-off sequence, byte by byte";
}

TEST(LocalizationText, AnItemLineOfMegabytesIsFoundAndTheOthersStayQuick) {
    const std::string huge(4 << 20, 'z');
    std::string items = "\t\t<BIG>" + huge + "</BIG>\r\n";
    for (int i = 0; i < 500; ++i) {
        items += "\t\t<ITEM" + std::to_string(i) + ">" + huge.substr(0, 100) + "</ITEM" + std::to_string(i) +
                 ">\r\n";
    }
    const TranslationItems parsed(*LanguageItemLines(Group("English", items), "English"));
    EXPECT_EQ(parsed.Find("BIG")->size(), huge.size());
    EXPECT_EQ(parsed.Find("ITEM499")->size(), 100u);
    // A line of megabytes without any ">" has no tag at all.
    const TranslationItems noTag({std::string(2 << 20, '<')});
    EXPECT_FALSE(noTag.Find("X").has_value());
}

} // namespace
} // namespace grimsweep
