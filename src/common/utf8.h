// UTF-8 decoding and encoding for the text helpers. Decoding never fails: a byte that does not start a
// well-formed sequence stands for itself, so that any bytes can be walked, compared and kept.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace grimsweep {

struct Utf8Unit {
    char32_t codePoint = 0; // the code point; for an ill-formed byte, that byte's value
    std::size_t length = 1; // bytes taken: 1 for an ill-formed byte
    bool wellFormed = false;
};

// The unit that starts at `pos` (pos < text.size()). Well-formed means the shortest form of a code point
// up to U+10FFFF that is no surrogate; anything else is taken one byte at a time.
Utf8Unit DecodeUtf8At(std::string_view text, std::size_t pos);

// Appends the UTF-8 form of a code point (up to U+10FFFF).
void AppendUtf8(std::string& out, char32_t codePoint);

} // namespace grimsweep
