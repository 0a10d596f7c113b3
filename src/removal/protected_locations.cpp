#include "removal/protected_locations.h"

#include <algorithm>

#include "common/case_folding.h"
#include "core/context.h"
#include "core/path_macros.h"
#include "platform/canonical_path.h"

namespace grimsweep {

namespace {

// Shell folder identifiers run from 0 to 0x3F; every one the shell answers with a folder is protected.
constexpr int kLastCsidl = 0x3F;
constexpr int kCsidlWindows = 36;
constexpr int kCsidlProfile = 40;
constexpr int kCsidlLocalAppData = 28;
constexpr std::string_view kTempElement = "\\Temp";

std::string ParentOf(const std::string& comparable) {
    const std::size_t slash = comparable.rfind('\\');
    if (slash == std::string::npos || comparable.size() <= 3) {
        return {};
    }
    return slash == 2 ? comparable.substr(0, 3) : comparable.substr(0, slash);
}

} // namespace

ProtectedLocations::ProtectedLocations(Context& context) : files_(context.machine.files) {
    IShell& shell = context.machine.shell;
    for (int csidl = 0; csidl <= kLastCsidl; ++csidl) {
        if (const auto folder = shell.SpecialFolderPath(csidl); folder && !folder->empty()) {
            AddFolder(*folder);
        }
    }
    const std::string profile = ComparablePath(files_, shell.SpecialFolderPath(kCsidlProfile).value_or(""));
    for (const std::string& parent :
         {ComparablePath(files_, shell.SpecialFolderPath(kCsidlWindows).value_or("")),
          ComparablePath(files_, context.machine.system.SystemFolder()),
          ComparablePath(files_, shell.SpecialFolderPath(kCsidlSystemX86).value_or("")), ParentOf(profile)}) {
        if (!parent.empty()) {
            parents_.push_back(parent);
            folders_.push_back(parent);
        }
    }
    if (const auto local = shell.SpecialFolderPath(kCsidlLocalAppData)) {
        AddFolder(*local + std::string(kTempElement));
    }
    for (std::string_view macro : {kUserMacro, kAllUsersMacro}) {
        AddFolder(ExpandPathMacros(shell, macro));
    }
    for (const std::string& own : {context.dataFolder, context.ApplicationFolder()}) {
        if (std::string comparable = ComparablePath(files_, own); !comparable.empty()) {
            wholeTrees_.push_back(std::move(comparable));
        }
    }
}

void ProtectedLocations::AddFolder(const std::string& path) {
    if (std::string comparable = ComparablePath(files_, path); !comparable.empty()) {
        folders_.push_back(std::move(comparable));
    }
}

bool ProtectedLocations::ProtectsComparable(const std::string& comparable, bool folder) const {
    if (comparable.size() <= 3) {
        return true; // a drive root
    }
    const auto within = [&](const std::string& outer) { return PathWithin(comparable, outer); };
    const auto above = [&](const std::string& inner) { return PathWithin(inner, comparable); };
    if (std::any_of(wholeTrees_.begin(), wholeTrees_.end(), within) ||
        std::any_of(folders_.begin(), folders_.end(), above)) {
        return true;
    }
    const std::string parent = ParentOf(comparable);
    return folder && std::find(parents_.begin(), parents_.end(), parent) != parents_.end();
}

std::optional<std::string_view> ProtectedLocations::Refusal(const std::string& path) const {
    const CanonicalPath canonical = CanonicalizePath(files_, path);
    if (!canonical.Local()) {
        return kNotLocalReason;
    }
    const auto attributes = files_.GetAttributes(canonical.path);
    // A path that names nothing is judged as a folder: that is the stricter rule.
    const bool folder = !attributes || (*attributes & kAttrDirectory);
    if (ProtectsComparable(FoldFileName(canonical.path), folder)) {
        return kProtectedLocationReason;
    }
    if (!attributes) {
        return std::nullopt;
    }
    // Judged again where its links lead; an existing item whose real place cannot be told is left alone.
    const auto final = files_.FinalPathName(canonical.path);
    const std::string real = final ? ComparablePath(files_, *final) : std::string();
    if (real.empty() || ProtectsComparable(real, folder)) {
        return kProtectedLocationReason;
    }
    return std::nullopt;
}

} // namespace grimsweep
