#include "platform/sim/sim_system.h"

#include <cstdio>

#include "common/text.h"
#include "common/utf8.h"

namespace grimsweep::sim {

namespace {

// Windows-1252 code points for bytes 0x80..0x9F; 0 marks the five unassigned bytes.
constexpr char16_t kCp1252High[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

constexpr std::int64_t kMillisecondsPerDay = 86'400'000;

// Days since 1 January 1970 of a date in the proleptic Gregorian calendar (negative before it).
std::int64_t DaysFromCivil(std::int64_t year, std::int64_t month, std::int64_t day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

std::int64_t ToMilliseconds(const LocalDateTime& when) {
    // Months outside 1..12 carry into the year; the other fields carry through the day count.
    const std::int64_t months = std::int64_t{when.year} * 12 + (when.month - 1);
    const std::int64_t year = months >= 0 ? months / 12 : (months - 11) / 12;
    const std::int64_t days = DaysFromCivil(year, months - year * 12 + 1, 1) + (when.day - 1);
    return days * kMillisecondsPerDay +
           ((std::int64_t{when.hour} * 60 + when.minute) * 60 + when.second) * 1000 + when.millisecond;
}

LocalDateTime FromMilliseconds(std::int64_t milliseconds) {
    const std::int64_t days =
        (milliseconds >= 0 ? milliseconds : milliseconds - (kMillisecondsPerDay - 1)) / kMillisecondsPerDay;
    std::int64_t rest = milliseconds - days * kMillisecondsPerDay;
    const std::int64_t z = days + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t dayOfEra = z - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    const std::int64_t month = shiftedMonth + (shiftedMonth < 10 ? 3 : -9);

    LocalDateTime when;
    when.year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
    when.month = static_cast<int>(month);
    when.day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    when.millisecond = static_cast<int>(rest % 1000);
    rest /= 1000;
    when.second = static_cast<int>(rest % 60);
    rest /= 60;
    when.minute = static_cast<int>(rest % 60);
    when.hour = static_cast<int>(rest / 60);
    // 1 January 1970 was a Thursday.
    when.dayOfWeek = static_cast<int>(((days % 7) + 7 + 4) % 7);
    return when;
}

} // namespace

SimSystem::SimSystem() {
    SetNow({2006, 3, 16});
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

LocalDateTime SimSystem::Now() {
    const std::int64_t elapsed = source_ ? static_cast<std::int64_t>(source_() - sourceAtSet_) : 0;
    return FromMilliseconds(setMilliseconds_ + elapsed);
}

void SimSystem::SetNow(const LocalDateTime& when) {
    setMilliseconds_ = ToMilliseconds(when);
    sourceAtSet_ = source_ ? source_() : 0;
}

void SimSystem::FollowClock(std::function<std::uint64_t()> milliseconds) {
    SetNow(Now());
    source_ = std::move(milliseconds);
    sourceAtSet_ = source_ ? source_() : 0;
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
