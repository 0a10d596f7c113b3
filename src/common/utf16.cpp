#include "common/utf16.h"

#include "common/utf8.h"

namespace grimsweep {

namespace {

char16_t UnitAt(std::string_view bytes, std::size_t pos) {
    return static_cast<char16_t>(static_cast<unsigned char>(bytes[pos]) |
                                 (static_cast<unsigned char>(bytes[pos + 1]) << 8));
}

void AppendUnit(std::string& out, char32_t unit) {
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>((unit >> 8) & 0xFF);
}

} // namespace

std::optional<std::string> Utf16LeToUtf8(std::string_view bytes) {
    if (bytes.size() % 2 != 0) {
        return std::nullopt;
    }
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t pos = 0; pos < bytes.size(); pos += 2) {
        const char16_t unit = UnitAt(bytes, pos);
        if (unit >= 0xDC00 && unit <= 0xDFFF) {
            return std::nullopt;
        }
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            if (pos + 4 > bytes.size()) {
                return std::nullopt;
            }
            const char16_t low = UnitAt(bytes, pos + 2);
            if (low < 0xDC00 || low > 0xDFFF) {
                return std::nullopt;
            }
            AppendUtf8(out, 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (low - 0xDC00));
            pos += 2;
        } else {
            AppendUtf8(out, unit);
        }
    }
    return out;
}

std::optional<std::string> Utf8ToUtf16Le(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (std::size_t pos = 0; pos < text.size();) {
        const Utf8Unit unit = DecodeUtf8At(text, pos);
        if (!unit.wellFormed) {
            return std::nullopt;
        }
        if (unit.codePoint >= 0x10000) {
            const char32_t offset = unit.codePoint - 0x10000;
            AppendUnit(out, 0xD800 + (offset >> 10));
            AppendUnit(out, 0xDC00 + (offset & 0x3FF));
        } else {
            AppendUnit(out, unit.codePoint);
        }
        pos += unit.length;
    }
    return out;
}

} // namespace grimsweep
