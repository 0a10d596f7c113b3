#include "update/service_dates.h"

#include <charconv>
#include <tuple>

#include "common/text.h"
#include "platform/calendar.h"

namespace grimsweep {

namespace {

// Reads a whole number of one to four digits at `pos`; moves `pos` past it.
std::optional<int> Number(std::string_view text, std::size_t& pos) {
    const std::size_t start = pos;
    while (pos < text.size() && pos - start < 4 && text[pos] >= '0' && text[pos] <= '9') {
        ++pos;
    }
    if (pos == start) {
        return std::nullopt;
    }
    int value = 0;
    std::from_chars(text.data() + start, text.data() + pos, value);
    return value;
}

bool Expect(std::string_view text, std::size_t& pos, char c) {
    if (pos < text.size() && text[pos] == c) {
        ++pos;
        return true;
    }
    return false;
}

} // namespace

std::string CleanServiceDate(std::string_view answer) {
    std::string text;
    for (char c : Trim(answer)) {
        if (c != '\t' && c != '\r' && c != '\n') {
            text += c;
        }
    }
    for (std::string_view marker : {"PM", "AM"}) {
        const std::size_t at = FindIgnoreCase(text, marker);
        if (at != std::string::npos) {
            return text.substr(0, at + marker.size());
        }
    }
    return text;
}

std::optional<LocalDateTime> ParseUsDateTime(std::string_view raw) {
    const std::string text = Trim(raw);
    std::size_t pos = 0;
    LocalDateTime when;
    const auto month = Number(text, pos);
    if (!month || !Expect(text, pos, '/')) {
        return std::nullopt;
    }
    const auto day = Number(text, pos);
    if (!day || !Expect(text, pos, '/')) {
        return std::nullopt;
    }
    const auto year = Number(text, pos);
    if (!year || *year < 100 || *month < 1 || *month > 12 || *day < 1 || *day > DaysInMonth(*year, *month)) {
        return std::nullopt;
    }
    when.year = *year;
    when.month = *month;
    when.day = *day;
    while (pos < text.size() && text[pos] == ' ') {
        ++pos;
    }
    if (pos == text.size()) {
        return when;
    }
    const auto hour = Number(text, pos);
    if (!hour || !Expect(text, pos, ':')) {
        return std::nullopt;
    }
    const auto minute = Number(text, pos);
    std::optional<int> second = 0;
    if (minute && Expect(text, pos, ':')) {
        second = Number(text, pos);
    }
    if (!minute || !second || *minute > 59 || *second > 59) {
        return std::nullopt;
    }
    while (pos < text.size() && text[pos] == ' ') {
        ++pos;
    }
    const std::string_view suffix = std::string_view(text).substr(pos);
    int hours = *hour;
    if (suffix.empty()) {
        if (hours > 23) {
            return std::nullopt;
        }
    } else if (EqualsIgnoreCase(suffix, "AM") || EqualsIgnoreCase(suffix, "PM")) {
        if (hours < 1 || hours > 12) {
            return std::nullopt;
        }
        hours = hours % 12 + (EqualsIgnoreCase(suffix, "PM") ? 12 : 0);
    } else {
        return std::nullopt;
    }
    when.hour = hours;
    when.minute = *minute;
    when.second = *second;
    return when;
}

std::string UsDateTimeText(const LocalDateTime& when) {
    std::string text =
        std::to_string(when.month) + "/" + std::to_string(when.day) + "/" + std::to_string(when.year);
    if (when.hour == 0 && when.minute == 0 && when.second == 0) {
        return text;
    }
    const int hour12 = when.hour % 12 == 0 ? 12 : when.hour % 12;
    const auto two = [](int value) { return (value < 10 ? "0" : "") + std::to_string(value); };
    return text + " " + std::to_string(hour12) + ":" + two(when.minute) + ":" + two(when.second) +
           (when.hour < 12 ? " AM" : " PM");
}

bool Later(const LocalDateTime& a, const LocalDateTime& b) {
    return std::tie(a.year, a.month, a.day, a.hour, a.minute, a.second) >
           std::tie(b.year, b.month, b.day, b.hour, b.minute, b.second);
}

} // namespace grimsweep
