#include "scan/folder_listing_cache.h"

#include <array>

#include "common/case_folding.h"
#include "common/text.h"
#include "common/utf8.h"
#include "core/file_presence.h"

namespace grimsweep {

namespace {

// Longer paths can fail a directory query that the folder's shorter listing pattern passes.
constexpr std::size_t kMaxPath = 260;
constexpr std::uint32_t kAbsentAttributes = kAttrHidden | kAttrSystem | kAttrDirectory;
// U+FFFD: what a listed name holding a lone UTF-16 surrogate turns into, which no query can name.
constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

bool IsAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Characters that a directory query treats as wildcards, stream separators or path separators.
bool IsSpecialCharacter(char c) {
    return static_cast<unsigned char>(c) < 0x20 ||
           std::string_view("*?<>\"|:/").find(c) != std::string_view::npos;
}

bool IsWellFormedUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const Utf8Unit unit = DecodeUtf8At(text, i);
        if (!unit.wellFormed) {
            return false;
        }
        i += unit.length;
    }
    return true;
}

// The Win32 path rules send these names (with any extension) to a device, not to a file of the folder.
bool IsDeviceName(std::string_view name) {
    std::string base = ToLower(name.substr(0, name.find('.')));
    while (!base.empty() && base.back() == ' ') {
        base.pop_back();
    }
    static constexpr std::array<std::string_view, 7> kDevices = {"con",    "prn",     "aux",   "nul",
                                                                 "conin$", "conout$", "clock$"};
    for (auto device : kDevices) {
        if (base == device) {
            return true;
        }
    }
    // "com1".."com9", "lpt1".."lpt9" and their superscript-digit forms.
    return (base.starts_with("com") || base.starts_with("lpt")) && base.size() > 3 && base.size() <= 5;
}

} // namespace

std::optional<ListablePath> SplitListablePath(std::string_view path) {
    if (path.size() < 4 || path.size() >= kMaxPath || !IsAsciiLetter(path[0]) || path[1] != ':' ||
        path[2] != '\\') {
        return std::nullopt;
    }
    const std::string_view rest = path.substr(3);
    for (char c : rest) {
        if (IsSpecialCharacter(c) || c == '~') {
            return std::nullopt;
        }
    }
    if (!IsWellFormedUtf8(rest) || rest.find(kReplacementCharacter) != std::string_view::npos) {
        return std::nullopt;
    }
    std::size_t start = 0;
    while (true) {
        const auto end = std::min(rest.find('\\', start), rest.size());
        const auto element = rest.substr(start, end - start);
        if (element.empty() || element.back() == '.' || element.back() == ' ') {
            return std::nullopt;
        }
        if (end == rest.size()) {
            break;
        }
        start = end + 1;
    }
    const auto slash = path.rfind('\\');
    const ListablePath split{path.substr(0, slash == 2 ? 2 : slash), path.substr(slash + 1)};
    if (IsDeviceName(split.name)) {
        return std::nullopt;
    }
    return split;
}

FolderListingCache::FolderListingCache(IFileSystem& files, int listAtAsk)
    : files_(files), listAtAsk_(listAtAsk) {}

bool FolderListingCache::SingleTest(std::string_view path) {
    ++singleTests_;
    return grimsweep::FileExists(files_, path);
}

void FolderListingCache::List(const std::string& folderPath, Folder& folder) {
    ++listings_;
    folder.listed = true;
    const auto entries = files_.FindEntries(folderPath + "\\*");
    // An empty answer cannot tell an empty folder from a failed query: such a folder keeps single tests,
    // unless it is not there at all (or is no folder), when nothing inside it can be present either.
    folder.unlistable = entries.empty();
    if (folder.unlistable && folderPath.size() > 2) {
        const auto attributes = files_.GetAttributes(folderPath);
        folder.missing = !attributes || (*attributes & kAttrDirectory) == 0;
    }
    for (const auto& entry : entries) {
        if ((entry.attributes & kAbsentAttributes) == 0) {
            folder.presentNames.insert(FoldFileName(entry.name));
        }
    }
}

bool FolderListingCache::FileExists(const std::string& path) {
    const auto split = SplitListablePath(path);
    if (!split) {
        return SingleTest(path);
    }
    const std::string folderPath(split->folder);
    Folder& folder = folders_[folderPath];
    if (!folder.listed && ++folder.asks >= listAtAsk_) {
        List(folderPath, folder);
    }
    if (folder.missing) {
        return false;
    }
    if (!folder.listed || folder.unlistable) {
        return SingleTest(path);
    }
    return folder.presentNames.contains(FoldFileName(split->name));
}

} // namespace grimsweep
