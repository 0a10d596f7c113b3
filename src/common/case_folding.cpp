#include "common/case_folding.h"

#include <algorithm>
#include <iterator>

#include "common/text.h"
#include "common/utf8.h"

namespace grimsweep {

namespace {

struct CaseFoldingRow {
    char32_t from;
    char32_t to;
};

#include "case_folding_table.inc"

static_assert(std::is_sorted(std::begin(kSimpleCaseFolding), std::end(kSimpleCaseFolding),
                             [](const CaseFoldingRow& a, const CaseFoldingRow& b) {
                                 return a.from < b.from;
                             }),
              "the folding table is searched by halves and must be in code point order");

bool IsAscii(unsigned char byte) {
    return byte < 0x80;
}

// Final sigma, long s, Kelvin sign, capital sharp s: folded by Unicode, kept apart by file-name look-ups.
bool KeptApartInFileNames(char32_t codePoint) {
    return codePoint == 0x03C2 || codePoint == 0x017F || codePoint == 0x212A || codePoint == 0x1E9E;
}

std::string Fold(std::string_view text, bool fileNames);

} // namespace

char32_t FoldCodePoint(char32_t codePoint) {
    if (codePoint < 0x80) {
        return static_cast<char32_t>(static_cast<unsigned char>(ToLowerAscii(static_cast<char>(codePoint))));
    }
    const auto* end = std::end(kSimpleCaseFolding);
    const auto* row = std::lower_bound(std::begin(kSimpleCaseFolding), end, codePoint,
                                       [](const CaseFoldingRow& r, char32_t c) { return r.from < c; });
    return row != end && row->from == codePoint ? row->to : codePoint;
}

std::string FoldCase(std::string_view text) {
    return Fold(text, false);
}

std::string FoldFileName(std::string_view text) {
    return Fold(text, true);
}

namespace {

std::string Fold(std::string_view text, bool fileNames) {
    // ASCII is folded in place in a copy; from the first other byte on the rest is decoded.
    std::string out(text);
    const auto asciiEnd =
        std::find_if(out.begin(), out.end(), [](char c) { return !IsAscii(static_cast<unsigned char>(c)); });
    std::transform(out.begin(), asciiEnd, out.begin(), ToLowerAscii);
    if (asciiEnd == out.end()) {
        return out;
    }
    std::size_t i = static_cast<std::size_t>(asciiEnd - out.begin());
    out.resize(i);
    while (i < text.size()) {
        if (IsAscii(static_cast<unsigned char>(text[i]))) {
            out += ToLowerAscii(text[i]);
            ++i;
            continue;
        }
        const Utf8Unit unit = DecodeUtf8At(text, i);
        if (unit.wellFormed) {
            const bool kept = fileNames && KeptApartInFileNames(unit.codePoint);
            AppendUtf8(out, kept ? unit.codePoint : FoldCodePoint(unit.codePoint));
        } else {
            out += text[i];
        }
        i += unit.length;
    }
    return out;
}

} // namespace

bool EqualsFolded(std::string_view a, std::string_view b) {
    // ASCII bytes are whole code points and fold alone, so an ASCII prefix can be compared byte by
    // byte; the rest from the first other byte on is folded whole.
    const std::size_t common = std::min(a.size(), b.size());
    std::size_t i = 0;
    for (; i < common; ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if (!IsAscii(x) || !IsAscii(y)) {
            break;
        }
        if (ToLowerAscii(a[i]) != ToLowerAscii(b[i])) {
            return false;
        }
    }
    if (i == a.size() && i == b.size()) {
        return true;
    }
    return FoldCase(a.substr(i)) == FoldCase(b.substr(i));
}

bool ContainsFolded(std::string_view text, std::string_view needle) {
    return FoldCase(text).find(FoldCase(needle)) != std::string::npos;
}

std::string_view CaseFoldingVersion() {
    return kCaseFoldingVersion;
}

} // namespace grimsweep
