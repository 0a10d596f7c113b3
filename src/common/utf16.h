// UTF-16LE as raw bytes (the form the registry keeps multi-strings in) to and from UTF-8. Both ways are
// strict, so that a conversion that succeeds can be undone exactly.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace grimsweep {

// Nothing for an odd number of bytes or a surrogate without its partner. NUL units become NUL bytes.
std::optional<std::string> Utf16LeToUtf8(std::string_view bytes);

// Nothing for text that is not well-formed UTF-8. NUL bytes become NUL units.
std::optional<std::string> Utf8ToUtf16Le(std::string_view text);

} // namespace grimsweep
