#include "platform/text_files.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_file_system.h"
#include "platform/sim/sim_system.h"

namespace grimsweep {
namespace {

TEST(TextFiles, SplitLinesAcceptsEveryLineEndAndAnUnendedLastLine) {
    EXPECT_EQ(SplitLines("a\r\nb\r\n"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(SplitLines("a\rb\nc"), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(SplitLines("\r\n\r\n"), (std::vector<std::string>{"", ""}));
    EXPECT_EQ(SplitLines(std::string("a\0b", 3)), (std::vector<std::string>{std::string("a\0b", 3)}));
    EXPECT_TRUE(SplitLines("").empty());
}

TEST(TextFiles, ReplacingKeepsTheOldFileWhenTheMoveFails) {
    sim::SimFileSystem files;
    files.PutFile("C:\\data\\date.dat", "old\r\n");
    files.SetMoveFails("C:\\data\\date.dat", true);
    EXPECT_FALSE(ReplaceFileContents(files, "C:\\data\\date.dat", "new\r\n"));
    EXPECT_EQ(files.Contents("C:\\data\\date.dat"), "old\r\n");
    EXPECT_EQ(files.FindEntries("C:\\data\\*").size(), 1u); // no temporary file left behind

    files.SetMoveFails("C:\\data\\date.dat", false);
    EXPECT_TRUE(ReplaceFileContents(files, "C:\\data\\date.dat", "new\r\n"));
    EXPECT_EQ(files.Contents("C:\\data\\date.dat"), "new\r\n");
    EXPECT_TRUE(ReplaceFileContents(files, "C:\\data\\fresh.dat", "x"));
    EXPECT_FALSE(ReplaceFileContents(files, "C:\\missing\\x.dat", "x"));
}

TEST(TextFiles, CodePageConversionHappensAtTheBoundary) {
    sim::SimFileSystem files;
    sim::SimSystem system;
    EXPECT_TRUE(AppendTextLine(files, system, "C:\\log.txt", "caf\xC3\xA9 \xE2\x82\xAC"));
    EXPECT_EQ(files.Contents("C:\\log.txt"), "caf\xE9 \x80\r\n");
    auto lines = ReadTextLines(files, system, "C:\\log.txt");
    ASSERT_TRUE(lines.has_value());
    EXPECT_EQ(lines->at(0), "caf\xC3\xA9 \xE2\x82\xAC");
    EXPECT_EQ(EncodeTextLines(system, {"a", "\xE4\xB8\xAD"}), "a\r\n?\r\n"); // not in the code page
    EXPECT_FALSE(ReadTextLines(files, system, "C:\\none.txt").has_value());
}

} // namespace
} // namespace grimsweep
