#include "core/path_macros.h"

#include <gtest/gtest.h>

#include <random>

#include "common/text.h"
#include "platform/sim/sim_shell.h"

namespace grimsweep {
namespace {

const std::string kUser = "C:\\Documents and Settings\\Tester\\";

TEST(PathMacros, SpecialFolderPathAddsOneBackslashOrGivesEmptyText) {
    sim::SimShell shell;
    EXPECT_EQ(SpecialFolderPath(shell, 36), "C:\\WINDOWS\\");
    EXPECT_EQ(SpecialFolderPath(shell, 10), ""); // the Recycle Bin has no file-system path
}

TEST(PathMacros, CaseRulesDifferBetweenTableRowsAndProfileMacros) {
    sim::SimShell shell;
    EXPECT_EQ(ExpandPathMacros(shell, "[APPDATA]AntiSpywareDAT"), kUser + "Application Data\\AntiSpywareDAT");
    EXPECT_EQ(ExpandPathMacros(shell, "[AppData]x"), ExpandPathMacros(shell, "[appdata]x"));
    EXPECT_EQ(ExpandPathMacros(shell, "[user]Cookies"), kUser + "Cookies");
    EXPECT_EQ(ExpandPathMacros(shell, "[USER]Cookies"), "[USER]Cookies");
    EXPECT_EQ(ExpandPathMacros(shell, "[alluser]Documents"),
              "C:\\Documents and Settings\\All Users\\Documents");
}

TEST(PathMacros, EmptyExpansionsUnknownMacrosAndPlainPaths) {
    sim::SimShell shell;
    EXPECT_EQ(ExpandPathMacros(shell, "[recycle]INFO2"), "INFO2");
    EXPECT_EQ(ExpandPathMacros(shell, "C:\\plain\\path.exe"), "C:\\plain\\path.exe");
    EXPECT_EQ(ExpandPathMacros(shell, "[nosuch]x"), "[nosuch]x");
    EXPECT_EQ(ExpandPathMacros(shell, "[comprogfil]Evil"), "C:\\Program Files\\Common Files\\Evil");
    EXPECT_EQ(ExpandPathMacros(shell, "[progfil]Evil"), "C:\\Program Files\\Evil");
    // The pairing: [desktop] is the all-users desktop, [comdesk] the user's own.
    EXPECT_EQ(ExpandPathMacros(shell, "[desktop]"), "C:\\Documents and Settings\\All Users\\Desktop\\");
    EXPECT_EQ(ExpandPathMacros(shell, "[comdesk]"), kUser + "Desktop\\");
    // Every occurrence is replaced, not only the first.
    EXPECT_EQ(ExpandPathMacros(shell, "[windir]a|[WINDIR]b"), "C:\\WINDOWS\\a|C:\\WINDOWS\\b");
}

TEST(PathMacros, ProfileMacroFollowsAStartMenuThatLivesElsewhere) {
    sim::SimShell shell;
    shell.folders[11] = "C:\\users\\bob\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu";
    EXPECT_EQ(ExpandPathMacros(shell, "[user]x"), "C:\\users\\bob\\AppData\\Roaming\\Microsoft\\Windows\\x");
    shell.folders.erase(11);
    EXPECT_EQ(ExpandPathMacros(shell, "[user]x"), "x");
}

TEST(PathMacros, DriveRootComesFromTheProgramsFolder) {
    sim::SimShell shell;
    shell.folders[2] = "D:\\Profiles\\Tester\\Start Menu\\Programs";
    const auto table = PathMacroTable::Capture(shell);
    EXPECT_EQ(table.DriveRoot(), "D:\\");
    EXPECT_EQ(table.ReplaceDrive("[drive]Program Files\\[DRIVE]"), "D:\\Program Files\\[DRIVE]");
    shell.folders.erase(2);
    EXPECT_EQ(PathMacroTable::Capture(shell).DriveRoot(), "");
}

// Every row in order over the whole text, then the two profile macros: the plain rule the expansion
// must keep to, however it skips work.
std::string ExpandRowByRow(IShell& shell, std::string_view path) {
    std::string result(path);
    for (const auto& row : kPathMacros) {
        result = ReplaceAllIgnoreCase(result, row.macro, SpecialFolderPath(shell, row.csidl));
    }
    const auto profile = [&](int csidl) {
        return ReplaceAllIgnoreCase(SpecialFolderPath(shell, csidl), "\\Start Menu", "");
    };
    result = ReplaceAll(result, kUserMacro, profile(kCsidlStartMenu));
    return ReplaceAll(result, kAllUsersMacro, profile(kCsidlCommonStartMenu));
}

// The table taken once must give exactly the per-call results and those of the plain row-by-row rule,
// for any mix of macros, case and text.
TEST(PathMacros, CapturedTableMatchesPerCallExpansionOnGeneratedPaths) {
    sim::SimShell shell;
    shell.folders[20] = "C:\\Fonts [system] here"; // a folder whose path holds a later macro
    shell.folders[36] = "C:\\WIN[Fonts]DOWS";      // ... and one whose path holds an earlier one
    std::vector<std::string> pieces = {"\\", "x", "[", "]", "[USER]", "[user]", "[alluser]", "[recycle]"};
    for (const auto& row : kPathMacros) {
        pieces.emplace_back(row.macro);
        std::string upper(row.macro);
        for (auto& c : upper) {
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
        pieces.push_back(upper);
    }
    const auto table = PathMacroTable::Capture(shell);
    std::mt19937 random(7);
    for (int i = 0; i < 3000; ++i) {
        std::string path;
        const int length = static_cast<int>(random() % 6);
        for (int k = 0; k < length; ++k) {
            path += pieces[random() % pieces.size()];
        }
        ASSERT_EQ(table.Expand(path), ExpandPathMacros(shell, path)) << path;
        ASSERT_EQ(table.Expand(path), ExpandRowByRow(shell, path)) << path;
    }
}

TEST(PathMacros, CapturedTableLooksFoldersUpOnlyOnce) {
    sim::SimShell shell;
    const auto table = PathMacroTable::Capture(shell);
    const int lookups = shell.folderLookups;
    for (int i = 0; i < 100; ++i) {
        table.Expand("[windir]system32\\[appdata]x");
    }
    EXPECT_EQ(shell.folderLookups, lookups);
}

} // namespace
} // namespace grimsweep
