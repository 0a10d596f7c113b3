// Query values in request addresses: every byte outside the unreserved characters (A-Z a-z 0-9 - . _ ~)
// travels as %XX, so that no value can end the query early or be read as another key.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace grimsweep {

// The value of a hex digit (either case), or -1.
int HexDigitValue(char c);

// The bytes as they stand (UTF-8 or code page, whichever the service expects), each byte outside the
// unreserved characters as "%" and two upper-case hex digits.
std::string PercentEncode(std::string_view bytes);

// The bytes back from a percent-encoded value; "+" stays "+". Nothing when a "%" is not followed by
// two hex digits (either case).
std::optional<std::string> PercentDecode(std::string_view value);

} // namespace grimsweep
