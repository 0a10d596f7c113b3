// Text helpers shared by every subsystem. Text is UTF-8. The case helpers here fold ASCII letters only:
// they serve text that is ASCII by construction (settings keys, path macros, hive names, tags, message
// keys). Names and paths compare with the Unicode folding of case_folding.h, as Windows compares them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace grimsweep {

// Inline, so that loops over long texts can be vectorised.
inline char ToUpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
inline char ToLowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
std::string ToUpper(std::string_view text);
std::string ToLower(std::string_view text);

bool EqualsIgnoreCase(std::string_view a, std::string_view b);
bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix);
// Position of the first occurrence of `needle` at or after `from`, ignoring case; npos when absent.
std::size_t FindIgnoreCase(std::string_view text, std::string_view needle, std::size_t from = 0);
bool ContainsIgnoreCase(std::string_view text, std::string_view needle);

// Removes leading and trailing blanks (spaces only, as the settings and list texts are written).
std::string Trim(std::string_view text);

// Replaces every occurrence, scanning left to right once; the replacement text is not scanned again.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);
std::string ReplaceAllIgnoreCase(std::string_view text, std::string_view from, std::string_view to);

// Splits at every separator. An empty text gives no pieces; otherwise there is one more piece than
// separators (a trailing separator gives a trailing empty piece).
std::vector<std::string> Split(std::string_view text, std::string_view separator);

// The text after the last backslash (the whole text when it has none).
std::string AfterLastBackslash(std::string_view path);

// Upper-cases the first character of a UTF-8 text (ASCII and Latin-1 letters).
std::string UpperFirst(std::string_view text);

} // namespace grimsweep
