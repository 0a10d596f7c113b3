// Path macros: definition entries and the data folder name Windows folders by short bracketed macros
// ("[appdata]AntiSpywareDAT"), replaced by the real folders of this machine and user.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/shell.h"

namespace grimsweep {

// Shell folder identifiers (CSIDL numbers) the program uses.
inline constexpr int kCsidlPrograms = 2;
inline constexpr int kCsidlStartMenu = 11;
inline constexpr int kCsidlCommonStartMenu = 22;
inline constexpr int kCsidlAppData = 26;
inline constexpr int kCsidlSystem = 37;
inline constexpr int kCsidlProgramFiles = 38;
inline constexpr int kCsidlSystemX86 = 41;
inline constexpr int kCsidlProgramFilesX86 = 42;

struct PathMacro {
    std::string_view macro;
    int csidl;
};

// Rows in the order of substitution; each is replaced wherever it occurs, in any letter case.
inline constexpr std::array<PathMacro, 28> kPathMacros = {{
    {"[startsp]", 29}, {"[appdata]", 26}, {"[recycle]", 10}, {"[comstar]", 30}, {"[comapp]", 35},
    {"[desktop]", 25}, {"[comdocs]", 46}, {"[comfav]", 31},  {"[comprog]", 23}, {"[comstam]", 22},
    {"[comtemp]", 45}, {"[cookies]", 33}, {"[comdesk]", 16}, {"[favorit]", 6},  {"[fonts]", 20},
    {"[history]", 34}, {"[netcach]", 32}, {"[progs]", 2},    {"[progfil]", 38}, {"[comprogfil]", 43},
    {"[personl]", 5},  {"[recent]", 8},   {"[sendto]", 9},   {"[startup]", 7},  {"[strtmnu]", 11},
    {"[system]", 37},  {"[templat]", 21}, {"[windir]", 36},
}};
// The two profile macros, replaced after the table and only in exactly this lower-case form.
inline constexpr std::string_view kUserMacro = "[user]";
inline constexpr std::string_view kAllUsersMacro = "[alluser]";
// Replaced by the system drive root before macro expansion, exact lower-case form only.
inline constexpr std::string_view kDriveToken = "[drive]";

// The folder path with one trailing backslash, or the empty text when the lookup fails.
std::string SpecialFolderPath(IShell& shell, int csidl);

// The first three characters of the user's Start Menu Programs folder ("C:\").
std::string SystemDriveRoot(IShell& shell);

// The folders of every macro, looked up once; expands any number of paths with exactly the results of
// ExpandPathMacros. A scan takes one table and uses it for every definition line.
class PathMacroTable {
public:
    static PathMacroTable Capture(IShell& shell);

    std::string Expand(std::string_view path) const;
    // On 64-bit Windows, 32-bit programs live in their own folders: the same path in the 32-bit Program
    // Files folder for one in Program Files, and in SysWOW64 for one in System32. Empty where the machine
    // has no such folder (32-bit Windows) or the path is in neither.
    std::vector<std::string> Counterparts32(std::string_view path) const;
    // Replaces every "[drive]" by the system drive root.
    std::string ReplaceDrive(std::string_view path) const;
    const std::string& DriveRoot() const { return driveRoot_; }

private:
    std::array<std::string, kPathMacros.size()> folders_;
    std::string userFolder_;
    std::string allUsersFolder_;
    std::string driveRoot_;
    // Folder pairs (with trailing backslash): the 64-bit one and its 32-bit counterpart.
    std::vector<std::pair<std::string, std::string>> folders32_;
};

// Expands every path macro of `path`, looking each folder up anew.
std::string ExpandPathMacros(IShell& shell, std::string_view path);

} // namespace grimsweep
