#include "common/text.h"

namespace grimsweep {

std::string ToUpper(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = ToUpperAscii(c);
    }
    return out;
}

std::string ToLower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = ToLowerAscii(c);
    }
    return out;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (ToUpperAscii(a[i]) != ToUpperAscii(b[i])) {
            return false;
        }
    }
    return true;
}

bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

std::size_t FindIgnoreCase(std::string_view text, std::string_view needle, std::size_t from) {
    if (needle.empty()) {
        return from <= text.size() ? from : std::string_view::npos;
    }
    if (text.size() < needle.size()) {
        return std::string_view::npos;
    }
    const char first = ToUpperAscii(needle[0]);
    for (std::size_t i = from; i + needle.size() <= text.size(); ++i) {
        if (ToUpperAscii(text[i]) == first && EqualsIgnoreCase(text.substr(i, needle.size()), needle)) {
            return i;
        }
    }
    return std::string_view::npos;
}

bool ContainsIgnoreCase(std::string_view text, std::string_view needle) {
    return FindIgnoreCase(text, needle) != std::string_view::npos;
}

std::string Trim(std::string_view text) {
    const auto begin = text.find_first_not_of(' ');
    if (begin == std::string_view::npos) {
        return {};
    }
    const auto end = text.find_last_not_of(' ');
    return std::string(text.substr(begin, end - begin + 1));
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
    if (from.empty()) {
        return std::string(text);
    }
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (true) {
        const auto hit = text.find(from, pos);
        if (hit == std::string_view::npos) {
            out.append(text.substr(pos));
            return out;
        }
        out.append(text.substr(pos, hit - pos));
        out.append(to);
        pos = hit + from.size();
    }
}

std::string ReplaceAllIgnoreCase(std::string_view text, std::string_view from, std::string_view to) {
    if (from.empty()) {
        return std::string(text);
    }
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (true) {
        const auto hit = FindIgnoreCase(text, from, pos);
        if (hit == std::string_view::npos) {
            out.append(text.substr(pos));
            return out;
        }
        out.append(text.substr(pos, hit - pos));
        out.append(to);
        pos = hit + from.size();
    }
}

std::vector<std::string> Split(std::string_view text, std::string_view separator) {
    std::vector<std::string> pieces;
    if (text.empty()) {
        return pieces;
    }
    if (separator.empty()) {
        pieces.emplace_back(text);
        return pieces;
    }
    std::size_t pos = 0;
    while (true) {
        const auto hit = text.find(separator, pos);
        if (hit == std::string_view::npos) {
            pieces.emplace_back(text.substr(pos));
            return pieces;
        }
        pieces.emplace_back(text.substr(pos, hit - pos));
        pos = hit + separator.size();
    }
}

std::string AfterLastBackslash(std::string_view path) {
    const auto slash = path.rfind('\\');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string UpperFirst(std::string_view text) {
    std::string out(text);
    if (out.empty()) {
        return out;
    }
    const auto lead = static_cast<unsigned char>(out[0]);
    if (lead < 0x80) {
        out[0] = ToUpperAscii(out[0]);
    } else if (lead == 0xC3 && out.size() > 1) {
        // Latin-1 small letters U+00E0..U+00FE (but not U+00F7) map to U+00C0..U+00DE.
        const auto trail = static_cast<unsigned char>(out[1]);
        if (trail >= 0xA0 && trail <= 0xBE && trail != 0xB7) {
            out[1] = static_cast<char>(trail - 0x20);
        }
    }
    return out;
}

} // namespace grimsweep
