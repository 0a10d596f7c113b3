#include "core/path_macros.h"

#include <algorithm>

#include "common/text.h"

namespace grimsweep {

namespace {

constexpr std::string_view kStartMenuElement = "\\Start Menu";

std::string ProfileFolder(IShell& shell, int startMenuCsidl) {
    return ReplaceAllIgnoreCase(SpecialFolderPath(shell, startMenuCsidl), kStartMenuElement, "");
}

// The first row, from `fromRow` on, whose macro occurs in the text (ignoring case); the row count when
// none does. Every macro runs from a "[" to the next "]", so only those stretches need comparing.
std::size_t FirstMacroRow(std::string_view text, std::size_t fromRow) {
    std::size_t first = kPathMacros.size();
    for (auto open = text.find('['); open != std::string_view::npos; open = text.find('[', open + 1)) {
        const auto close = text.find(']', open);
        if (close == std::string_view::npos) {
            break;
        }
        const std::string_view token = text.substr(open, close - open + 1);
        for (std::size_t row = fromRow; row < first; ++row) {
            if (kPathMacros[row].macro.size() == token.size() &&
                EqualsIgnoreCase(kPathMacros[row].macro, token)) {
                first = row;
                break;
            }
        }
    }
    return first;
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
    for (const auto& [folder64, folder32] :
         {std::pair{kCsidlProgramFiles, kCsidlProgramFilesX86}, std::pair{kCsidlSystem, kCsidlSystemX86}}) {
        std::string native = SpecialFolderPath(shell, folder64);
        std::string wow = SpecialFolderPath(shell, folder32);
        if (!native.empty() && !wow.empty() && !EqualsIgnoreCase(native, wow)) {
            table.folders32_.emplace_back(std::move(native), std::move(wow));
        }
    }
    return table;
}

std::vector<std::string> PathMacroTable::Counterparts32(std::string_view path) const {
    std::vector<std::string> counterparts;
    for (const auto& [native, wow] : folders32_) {
        if (path.size() > native.size() && EqualsIgnoreCase(path.substr(0, native.size()), native)) {
            counterparts.push_back(wow + std::string(path.substr(native.size())));
        }
    }
    return counterparts;
}

std::string PathMacroTable::Expand(std::string_view path) const {
    // The rows in order, each replaced wherever it occurs; rows whose macro is absent are passed over.
    std::size_t row = FirstMacroRow(path, 0);
    std::string result = row < kPathMacros.size()
                             ? ReplaceAllIgnoreCase(path, kPathMacros[row].macro, folders_[row])
                             : std::string(path);
    while ((row = FirstMacroRow(result, row + 1)) < kPathMacros.size()) {
        result = ReplaceAllIgnoreCase(result, kPathMacros[row].macro, folders_[row]);
    }
    if (result.find('[') == std::string::npos) {
        return result;
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
