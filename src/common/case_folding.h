// Comparing names and paths without regard to case, as Windows compares file names: simple Unicode case
// folding (the C and S mappings of CaseFolding.txt, generated into the build) of UTF-8 text, code point
// by code point. Bytes that are not well-formed UTF-8 are kept as they are and so compare byte for
// byte. Text that is ASCII by construction (settings keys, path macros, hive names, tags) uses the
// cheaper ASCII helpers of text.h.
// Folding merges a few letters that the file system's own name comparison keeps apart (under Wine: the
// final sigma and sigma, the long s and s, the Kelvin sign and k, capital and small sharp s). For the
// program's lists they count as one: a safe-list or exclusion entry then covers a little more, never
// less. FoldFileName folds as the file system looks names up, keeping those four apart.
#pragma once

#include <string>
#include <string_view>

namespace grimsweep {

// The folded code point; a code point without a simple mapping folds to itself.
char32_t FoldCodePoint(char32_t codePoint);

// The text with every well-formed code point folded. Folding twice gives the same as folding once.
std::string FoldCase(std::string_view text);

// FoldCase, except that the four letters above keep themselves: names as the file system finds them.
std::string FoldFileName(std::string_view text);

// FoldCase(a) == FoldCase(b), without building the folded texts while both are ASCII.
bool EqualsFolded(std::string_view a, std::string_view b);
// FoldCase(text) contains FoldCase(needle).
bool ContainsFolded(std::string_view text, std::string_view needle);

// The Unicode version of the case folding data the program was built with ("15.0.0").
std::string_view CaseFoldingVersion();

} // namespace grimsweep
