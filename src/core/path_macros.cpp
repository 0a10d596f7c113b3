#include "core/path_macros.h"

#include <algorithm>

#include "common/text.h"

namespace grimsweep {

namespace {

constexpr std::string_view kStartMenuElement = "\\Start Menu";

std::string ProfileFolder(IShell& shell, int startMenuCsidl) {
    return ReplaceAllIgnoreCase(SpecialFolderPath(shell, startMenuCsidl), kStartMenuElement, "");
}

} // namespace

std::string SpecialFolderPath(IShell& shell, int csidl) {
    auto path = shell.SpecialFolderPath(csidl);
    if (!path) {
        return {};
    }
    // The shell's buffer holds 260 characters; the text ends at its first NUL.
    std::string text = path->substr(0, std::min<std::size_t>(path->find('\0'), 259));
    return text + "\\";
}

std::string SystemDriveRoot(IShell& shell) {
    auto path = shell.SpecialFolderPathFromIdList(kCsidlPrograms);
    return path ? path->substr(0, 3) : std::string();
}

PathMacroTable PathMacroTable::Capture(IShell& shell) {
    PathMacroTable table;
    for (std::size_t i = 0; i < kPathMacros.size(); ++i) {
        table.folders_[i] = SpecialFolderPath(shell, kPathMacros[i].csidl);
    }
    table.userFolder_ = ProfileFolder(shell, kCsidlStartMenu);
    table.allUsersFolder_ = ProfileFolder(shell, kCsidlCommonStartMenu);
    table.driveRoot_ = SystemDriveRoot(shell);
    return table;
}

std::string PathMacroTable::Expand(std::string_view path) const {
    std::string result(path);
    for (std::size_t i = 0; i < kPathMacros.size(); ++i) {
        // Every macro starts with "[": once none is left, no later row can match.
        if (result.find('[') == std::string::npos) {
            return result;
        }
        result = ReplaceAllIgnoreCase(result, kPathMacros[i].macro, folders_[i]);
    }
    result = ReplaceAll(result, kUserMacro, userFolder_);
    return ReplaceAll(result, kAllUsersMacro, allUsersFolder_);
}

std::string PathMacroTable::ReplaceDrive(std::string_view path) const {
    return ReplaceAll(path, kDriveToken, driveRoot_);
}

std::string ExpandPathMacros(IShell& shell, std::string_view path) {
    return PathMacroTable::Capture(shell).Expand(path);
}

} // namespace grimsweep
