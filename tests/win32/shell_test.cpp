// Special folders of the real shell inside the Wine prefix.
#include "platform/win32/win32_shell.h"

#include <gtest/gtest.h>

#include "common/text.h"
#include "core/path_macros.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_system.h"

namespace grimsweep::win32 {
namespace {

TEST(Win32Shell, SpecialFoldersAreRealFoldersOfThisMachine) {
    Win32Shell shell;
    Win32FileSystem files;
    for (int csidl : {kCsidlAppData, 36, 37, 38}) {
        const std::string folder = SpecialFolderPath(shell, csidl);
        ASSERT_FALSE(folder.empty()) << csidl;
        EXPECT_EQ(folder.back(), '\\');
        EXPECT_TRUE(files.FolderExists(folder.substr(0, folder.size() - 1))) << folder;
    }
    EXPECT_EQ(SpecialFolderPath(shell, 10), ""); // the Recycle Bin is virtual
}

TEST(Win32Shell, MacrosExpandAgainstTheRealFolders) {
    Win32Shell shell;
    const auto table = PathMacroTable::Capture(shell);
    EXPECT_EQ(table.DriveRoot(), "C:\\");
    const std::string windows = table.Expand("[WINDIR]");
    EXPECT_TRUE(EqualsIgnoreCase(windows, "C:\\windows\\")) << windows;
    EXPECT_EQ(table.Expand("[windir]system32\\x.dll"), ExpandPathMacros(shell, "[windir]system32\\x.dll"));
    const std::string data = table.Expand("[appdata]AntiSpywareDAT");
    EXPECT_TRUE(StartsWithIgnoreCase(data, "C:\\users\\")) << data;
    EXPECT_TRUE(data.ends_with("\\AntiSpywareDAT")) << data;
    // The profile macro drops "\Start Menu" from the user's Start Menu folder.
    const std::string user = table.Expand("[user]");
    EXPECT_FALSE(ContainsIgnoreCase(user, "\\Start Menu")) << user;
    EXPECT_EQ(user.back(), '\\');
}

// Wine gives its programs an elevated administrator's token, and carries out "runas" without a question:
// the elevated run is real here, Windows' consent prompt is not.
TEST(Win32Shell, AProgramRunsAsAdministratorAndItsExitCodeComesBack) {
    Win32Shell shell;
    EXPECT_TRUE(shell.RunsElevated());
    const std::string cmd = Win32System().SystemFolder() + "\\cmd.exe";
    const ElevatedRun run = shell.RunAsAdministrator(cmd, "/c ping -n 2 127.0.0.1 >nul & exit 7", [] {});
    EXPECT_EQ(run.status, ElevatedRunStatus::Finished);
    EXPECT_EQ(run.exitCode, 7u);
    EXPECT_EQ(shell.RunAsAdministrator("C:\\no such folder\\none.exe", "", {}).status,
              ElevatedRunStatus::Failed);
}

} // namespace
} // namespace grimsweep::win32
