// Bytes as hex digits, two a byte: keys and signatures in text files and on the wire.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace grimsweep {

// Lower-case digits.
std::string HexText(std::string_view bytes);
// The bytes of an even run of hex digits (either case); nothing for anything else.
std::optional<std::string> BytesOfHex(std::string_view text);

} // namespace grimsweep
