#include "definitions/definition_check.h"

#include <gtest/gtest.h>

#include "definitions/line_code.h"

namespace grimsweep {
namespace {

bool Malformed(DefinitionKind kind, std::string_view line) {
    return !DefinitionLineProblem(kind, line).empty();
}

TEST(DefinitionCheck, AcceptsGoodRecordsOfEveryFile) {
    EXPECT_FALSE(Malformed(DefinitionKind::Files, "a.exe=Threat|[progfil]A|Adware"));
    EXPECT_FALSE(
        Malformed(DefinitionKind::Directories, "A=Threat|[recycle]")); // skipped by the scan, well formed
    EXPECT_FALSE(Malformed(DefinitionKind::Registry, "1^Software\\A=B^=Threat|Hijacker"));
    EXPECT_FALSE(Malformed(DefinitionKind::Executables, "a.exe=Threat|[drive]\\A"));
    EXPECT_FALSE(Malformed(DefinitionKind::Cookies, "*tracker.example"));
    EXPECT_FALSE(Malformed(DefinitionKind::Safety, "SREG|x|2^SOFTWARE\\A"));
    EXPECT_FALSE(Malformed(DefinitionKind::Safety, " continued.dll=1"));
}

TEST(DefinitionCheck, FlagsLinesTheProgramWouldNotTakeAsRecords) {
    for (const auto& file : kDefinitionFiles) {
        EXPECT_TRUE(Malformed(file.kind, "  ")) << file.name;
        EXPECT_TRUE(Malformed(file.kind, std::string("a.exe=T|C:\\\0x", 13))) << file.name;
    }
    EXPECT_TRUE(Malformed(DefinitionKind::Files, "a.exe|C:\\A"));
    EXPECT_TRUE(Malformed(DefinitionKind::Files, " =T|C:\\A"));
    EXPECT_TRUE(Malformed(DefinitionKind::Directories, "A=T"));
    EXPECT_TRUE(Malformed(DefinitionKind::Directories, "A=T| |x"));
    EXPECT_TRUE(Malformed(DefinitionKind::Registry, "1^Software^"));
    EXPECT_TRUE(Malformed(DefinitionKind::Registry, "8^Software^=T"));
    EXPECT_TRUE(Malformed(DefinitionKind::Registry, "1^^=T"));
    EXPECT_TRUE(
        Malformed(DefinitionKind::Executables, "a.exe=[windir]")); // the threat would be taken as folder
    EXPECT_TRUE(Malformed(DefinitionKind::Cookies, "a.example|b"));
    EXPECT_TRUE(Malformed(DefinitionKind::Safety, "SFILES|x|C:\\x"));
    EXPECT_TRUE(Malformed(DefinitionKind::Safety, "SDIR|x|"));
}

TEST(DefinitionCheck, ReportsLineNumbersOfAStoredFile) {
    const std::string stored = EncodeDefinitionText("ok.exe=T|[windir]\nbroken\nok2.exe=T|[system]\n\n");
    const auto problems = CheckDefinitionFile(DefinitionKind::Executables, stored);
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0].lineNumber, 2);
    EXPECT_EQ(problems[1].lineNumber, 4);
    // A Safety.dat whose first line has no tag.
    EXPECT_EQ(CheckDefinitionFile(DefinitionKind::Safety, EncodeDefinitionText("a.dll=1\n")).size(), 1u);
}

} // namespace
} // namespace grimsweep
