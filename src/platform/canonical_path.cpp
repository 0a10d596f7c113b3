#include "platform/canonical_path.h"

#include <algorithm>
#include <array>
#include <vector>

#include "common/case_folding.h"
#include "common/text.h"

namespace grimsweep {

namespace {

constexpr std::string_view kLocalDevicePrefix = "\\\\?\\";
constexpr std::string_view kObjectPrefix = "\\??\\";
constexpr std::string_view kDevicePrefix = "\\\\.\\";
constexpr std::string_view kNetworkPrefix = "\\\\";
constexpr std::string_view kUncElement = "UNC\\";
// Characters no file name can hold; "*" and "?" would also turn a presence test into a pattern search.
constexpr std::string_view kForbidden = "<>\"|?*";
constexpr std::array<std::string_view, 6> kReservedNames = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};

bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool HasDrive(std::string_view path) {
    return path.size() >= 2 && IsLetter(path[0]) && path[1] == ':';
}

bool HasDriveRoot(std::string_view path) {
    return HasDrive(path) && path.size() >= 3 && path[2] == '\\';
}

CanonicalPath Refused(PathKind kind, std::string_view path) {
    return {kind, std::string(path)};
}

std::string_view WithoutTrailingDotsAndBlanks(std::string_view element) {
    while (!element.empty() && (element.back() == '.' || element.back() == ' ')) {
        element.remove_suffix(1);
    }
    return element;
}

std::string Joined(char drive, const std::vector<std::string_view>& elements) {
    std::string path{ToUpperAscii(drive), ':', '\\'};
    for (std::size_t i = 0; i < elements.size(); ++i) {
        if (i > 0) {
            path += '\\';
        }
        path += elements[i];
    }
    return path;
}

// Replaces the longest existing leading part of the path by its long form ("C:\PROGRA~1\Gloom" ->
// "C:\Program Files\Gloom"); the system answers only for what exists.
std::string WithLongElements(IFileSystem& files, const std::string& path) {
    for (std::size_t end = path.size(); end > 3;) {
        const std::string prefix = path.substr(0, end);
        if (const auto longPrefix = files.LongPathName(prefix)) {
            std::string longPath = *longPrefix;
            while (longPath.size() > 3 && longPath.back() == '\\') {
                longPath.pop_back();
            }
            return HasDriveRoot(longPath) ? longPath + path.substr(end) : path;
        }
        end = path.rfind('\\', end - 1);
        if (end == std::string::npos) {
            break;
        }
    }
    return path;
}

} // namespace

bool IsPlainDrivePath(std::string_view path) {
    if (!HasDriveRoot(path)) {
        return false;
    }
    for (std::size_t i = 2; i < path.size(); ++i) {
        const char c = path[i];
        const bool elementEnd = i + 1 == path.size() || path[i + 1] == '\\';
        if (c == '/' || (c == '\\' && i + 1 < path.size() && path[i + 1] == '\\') ||
            ((c == '.' || c == ' ') && elementEnd)) {
            return false;
        }
    }
    return true;
}

bool IsReservedDeviceName(std::string_view name) {
    std::string_view base = name.substr(0, name.find('.'));
    while (!base.empty() && base.back() == ' ') {
        base.remove_suffix(1);
    }
    if (std::any_of(kReservedNames.begin(), kReservedNames.end(),
                    [&](std::string_view reserved) { return EqualsIgnoreCase(base, reserved); })) {
        return true;
    }
    // COM1 to COM9 and LPT1 to LPT9.
    return base.size() == 4 && (StartsWithIgnoreCase(base, "COM") || StartsWithIgnoreCase(base, "LPT")) &&
           base[3] >= '1' && base[3] <= '9';
}

CanonicalPath CanonicalizePath(IFileSystem& files, std::string_view input) {
    std::string path(input);
    std::replace(path.begin(), path.end(), '/', '\\');
    if (path.starts_with(kLocalDevicePrefix) || path.starts_with(kObjectPrefix)) {
        const std::string_view rest = std::string_view(path).substr(kLocalDevicePrefix.size());
        if (StartsWithIgnoreCase(rest, kUncElement)) {
            return Refused(PathKind::Network, input);
        }
        if (!HasDrive(rest)) {
            return Refused(PathKind::Device, input);
        }
        path = std::string(rest);
    } else if (path.starts_with(kDevicePrefix)) {
        return Refused(PathKind::Device, input);
    } else if (path.starts_with(kNetworkPrefix)) {
        return Refused(PathKind::Network, input);
    }
    if (path.empty() || path.find('\0') != std::string::npos ||
        std::any_of(path.begin(), path.end(), [](char c) {
            return static_cast<unsigned char>(c) < 0x20 || kForbidden.find(c) != std::string_view::npos;
        })) {
        return Refused(PathKind::Malformed, input);
    }
    if (!HasDriveRoot(path)) {
        return Refused(PathKind::Relative, input);
    }
    if (path.find(':', 2) != std::string::npos) {
        return Refused(PathKind::Stream, input);
    }
    // Most definitions already name a plain path, which the system would give back unchanged.
    if (IsPlainDrivePath(path) && !IsReservedDeviceName(AfterLastBackslash(path)) &&
        path.find('~') == std::string::npos) {
        if (path.size() > 3 && path.back() == '\\') {
            path.pop_back();
        }
        path[0] = ToUpperAscii(path[0]);
        return {PathKind::Local, std::move(path)};
    }
    const auto full = files.FullPathName(path);
    if (!full) {
        return Refused(PathKind::Malformed, input);
    }
    if (full->starts_with(kDevicePrefix)) {
        return Refused(PathKind::Device, input);
    }
    if (full->starts_with(kNetworkPrefix)) {
        return Refused(PathKind::Network, input);
    }
    if (!HasDriveRoot(*full)) {
        return Refused(PathKind::Malformed, input);
    }
    std::vector<std::string_view> elements;
    const std::string_view rest = std::string_view(*full).substr(3);
    for (std::size_t start = 0; start <= rest.size();) {
        std::size_t end = rest.find('\\', start);
        if (end == std::string_view::npos) {
            end = rest.size();
        }
        const std::string_view raw = rest.substr(start, end - start);
        start = end + 1;
        if (raw.empty()) {
            continue;
        }
        // The file system drops trailing dots and blanks; an element of nothing else ("...", ". .") or one
        // the system left as "." or ".." names no place of its own.
        const std::string_view element = WithoutTrailingDotsAndBlanks(raw);
        if (element.empty()) {
            return Refused(PathKind::Malformed, input);
        }
        elements.push_back(element);
    }
    if (!elements.empty() && IsReservedDeviceName(elements.back())) {
        return Refused(PathKind::Device, input);
    }
    std::string canonical = Joined((*full)[0], elements);
    if (canonical.find('~') != std::string::npos) {
        canonical = WithLongElements(files, canonical);
    }
    return {PathKind::Local, std::move(canonical)};
}

std::string ComparablePath(IFileSystem& files, std::string_view path) {
    const CanonicalPath canonical = CanonicalizePath(files, path);
    return canonical.Local() ? FoldFileName(canonical.path) : std::string();
}

bool PathWithin(std::string_view inner, std::string_view outer) {
    if (outer.empty() || inner.size() < outer.size() || inner.substr(0, outer.size()) != outer) {
        return false;
    }
    return inner.size() == outer.size() || outer.back() == '\\' || inner[outer.size()] == '\\';
}

} // namespace grimsweep
