#include "platform/sim/sim_system.h"

#include <cstdio>

#include "common/text.h"

namespace grimsweep::sim {

namespace {

// Windows-1252 code points for bytes 0x80..0x9F; 0 marks the five unassigned bytes.
constexpr char16_t kCp1252High[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

} // namespace

SimSystem::SimSystem() {
    VersionResource own;
    own.strings = {{"ProductName", "Grimsweep"},
                   {"CompanyName", "Lanternfish Software"},
                   {"Comments", "www.lanternfish-software.example"}};
    own.fileMajor = 3;
    own.fileMinor = 1;
    versionResources[ToUpper(executablePath)] = own;
}

std::optional<VersionResource> SimSystem::ReadVersionResource(const std::string& path) {
    auto it = versionResources.find(ToUpper(path));
    if (it == versionResources.end()) {
        return std::nullopt;
    }
    return it->second;
}

bool SimSystem::AcquireSingleInstanceLock(const std::string& name) {
    const std::string key = ToUpper(name);
    if (heldLocks.count(key)) {
        return false;
    }
    ownLocks.insert(key);
    return true;
}

std::string SimSystem::FormatDateTimeForDisplay(const LocalDateTime& when) {
    // United States English, as the simulated user's locale.
    const int hour12 = when.hour % 12 == 0 ? 12 : when.hour % 12;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%d/%d/%d %d:%02d:%02d %s", when.month, when.day, when.year, hour12,
                  when.minute, when.second, when.hour < 12 ? "AM" : "PM");
    return buffer;
}

bool SimSystem::SetClipboardText(const std::string& text) {
    clipboard = text;
    return true;
}

std::string SimSystem::CodePageToUtf8(const std::string& bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (unsigned char b : bytes) {
        if (b >= 0x80 && b < 0xA0) {
            const char16_t cp = kCp1252High[b - 0x80];
            AppendUtf8(out, cp ? cp : b);
        } else {
            AppendUtf8(out, b);
        }
    }
    return out;
}

std::string SimSystem::Utf8ToCodePage(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        char32_t cp = lead;
        std::size_t length = 1;
        if (lead >= 0xF0) {
            length = 4;
        } else if (lead >= 0xE0) {
            length = 3;
            cp = lead & 0x0F;
        } else if (lead >= 0xC0) {
            length = 2;
            cp = lead & 0x1F;
        }
        if (length > 1) {
            if (i + length > text.size()) {
                out += '?';
                break;
            }
            for (std::size_t k = 1; k < length && length < 4; ++k) {
                cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
            }
        }
        i += length;
        if (length == 4) {
            out += '?';
        } else if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
            out += static_cast<char>(cp);
        } else {
            char mapped = '?';
            for (int k = 0; k < 32; ++k) {
                if (kCp1252High[k] == cp && cp != 0) {
                    mapped = static_cast<char>(0x80 + k);
                }
            }
            out += mapped;
        }
    }
    return out;
}

} // namespace grimsweep::sim
