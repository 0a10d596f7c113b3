#include "definitions/line_code.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "definitions_fixture.h"

namespace grimsweep {
namespace {

std::string AllCodes(int from, int to) {
    std::string text;
    for (int c = from; c <= to; ++c) {
        text += static_cast<char>(c);
    }
    return text;
}

TEST(LineCode, EveryByteRoundTripsAndOnlyAtAndDelBecomeSeparators) {
    // Codes the files and the published records depend on: the separators, letters and digits that
    // names carry, and both ends of the wrap by 255.
    const std::map<int, int> kStoredAs = {{'@', '='}, {0x7F, '|'}, {'u', 'r'},  {'6', '3'},   {'=', ':'},
                                          {'|', 'y'}, {0x00, 252}, {0x03, 255}, {0x04, 0x01}, {0xFF, 252}};
    std::vector<int> toEquals;
    std::vector<int> toBar;
    for (int c = 0; c <= 255; ++c) {
        const std::string plain(1, static_cast<char>(c));
        const std::string stored = EncodeDefinitionLine(plain);
        ASSERT_EQ(stored.size(), 1u) << c;
        const int code = static_cast<unsigned char>(stored[0]);
        // 0 and 255 both encode to the shift, which decodes to 0: only 255 does not come back.
        EXPECT_EQ(DecodeDefinitionLine(stored), c == 255 ? std::string(1, '\0') : plain) << c;
        if (const auto expected = kStoredAs.find(c); expected != kStoredAs.end()) {
            EXPECT_EQ(code, expected->second) << c;
        }
        if (code == '=') {
            toEquals.push_back(c);
        }
        if (code == '|') {
            toBar.push_back(c);
        }
        if (c == '\t' || c >= 0x20) {
            EXPECT_NE(code, '\n') << "text byte " << c << " would split its stored line";
            EXPECT_NE(code, '\r') << "text byte " << c << " would split its stored line";
        }
    }
    EXPECT_EQ(toEquals, std::vector<int>{'@'});
    EXPECT_EQ(toBar, std::vector<int>{0x7F});

    const std::string all = AllCodes(0, 255);
    std::string back = all;
    back.back() = '\0';
    EXPECT_EQ(DecodeDefinitionLine(EncodeDefinitionLine(all)), back);
    EXPECT_EQ(EncodeDefinitionLine(std::string("\0\xFF", 2)),
              std::string(2, static_cast<char>(kDefinitionShift)));
    // The wrap is by 255, not 256, in both directions.
    EXPECT_EQ(EncodeDefinitionLine("\xFE"), std::string(1, static_cast<char>(254 + kDefinitionShift - 255)));
    EXPECT_EQ(DecodeDefinitionLine(std::string(1, '\x01')),
              std::string(1, static_cast<char>(1 - kDefinitionShift + 255)));
}

TEST(LineCode, SeparatorsEncodeAloneAndATextLineStaysOneLine) {
    const std::string bar = EncodeDefinitionLine("|");
    const std::string equals = EncodeDefinitionLine("=");
    ASSERT_EQ(bar.size(), 1u);
    EXPECT_EQ(EncodeDefinitionLine("a|b=c"), EncodeDefinitionLine("a") + bar + EncodeDefinitionLine("b") +
                                                 equals + EncodeDefinitionLine("c"));
    // Every text byte, the tab included, in one line: stored, it is still one line, and it reads back.
    const std::string plain = "\t" + AllCodes(0x20, 0xFF);
    const auto lines = SplitLines(EncodeDefinitionText(plain));
    ASSERT_EQ(lines.size(), 1u);
    std::string expected = plain;
    expected.back() = '\0';
    EXPECT_EQ(DecodeDefinitionLine(lines[0]), expected);
}

TEST(LineCode, WholeTextsUseTheLineEndsOfTheirForm) {
    EXPECT_EQ(EncodeDefinitionText("a\nb"),
              EncodeDefinitionLine("a") + "\r\n" + EncodeDefinitionLine("b") + "\r\n");
    EXPECT_EQ(DecodeDefinitionText(EncodeDefinitionText("x|y\r\n\r\nz\n")), "x|y\n\nz\n");
}

class ReadDefinitionLinesTest : public DefinitionsTest {};

TEST_F(ReadDefinitionLinesTest, NeverStopsEarlyOnAnyBytes) {
    const std::string path = context.DataFile("FileDefinition.dat");
    const std::string longLine(1 << 20, 'k');
    std::string bytes = EncodeDefinitionLine(longLine) + "\r\n";
    bytes += std::string("\0\x01\xFF\x80", 4) + "\r"; // garbage, NUL, a lone CR
    bytes += EncodeDefinitionLine("last");            // no line end at the end
    sim.files.PutFile(path, bytes);
    const auto lines = ReadDefinitionLines(sim.files, sim.system, path);
    ASSERT_TRUE(lines.has_value());
    ASSERT_EQ(lines->size(), 3u);
    EXPECT_EQ(lines->at(0), longLine);
    EXPECT_EQ(lines->at(2), "last");

    // Absent in the sense of the presence test: missing, hidden, or a folder.
    EXPECT_FALSE(ReadDefinitionLines(sim.files, sim.system, context.DataFile("none.dat")));
    sim.files.PutFile(context.DataFile("hidden.dat"), "x", kAttrHidden);
    EXPECT_FALSE(ReadDefinitionLines(sim.files, sim.system, context.DataFile("hidden.dat")));
    sim.files.SetReadFails(path, true);
    EXPECT_FALSE(ReadDefinitionLines(sim.files, sim.system, path));
}

TEST_F(ReadDefinitionLinesTest, DecodesBeforeConvertingTheCodePage) {
    const std::string path = context.DataFile("ExeDefinition.dat");
    sim.files.PutFile(path, EncodeDefinitionLine("caf\xE9.exe=T|[windir]") + "\r\n");
    const auto lines = ReadDefinitionLines(sim.files, sim.system, path);
    ASSERT_TRUE(lines.has_value());
    EXPECT_EQ(lines->at(0), "caf\xC3\xA9.exe=T|[windir]");
}

} // namespace
} // namespace grimsweep
