// The line code of the definition files: every stored line is its plain text with each byte shifted by
// one fixed amount, wrapping by 255. It works on bytes, before any code-page conversion.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "platform/system.h"

namespace grimsweep {

// The shift shared by every reader, writer and tool. A stored line must never hold a line feed (10) or
// a carriage return (13), or it comes back as two records. Plain bytes up to 255 - K move up by K, and
// the top K bytes (256 - K to 255) wrap round to 1..K; so for any K below 10 no text byte (0x20 to 0xFF)
// lands on 10 or 13, while K = 10 sends byte 255 to a line feed. Of those, 7 also keeps the tab (9)
// clear (K = 1 and K = 4 would turn it into a line feed or a carriage return), leaves the wrapped bytes
// below the tab, and sends to 10 and 13 only the controls 3 and 6, which no definition holds.
inline constexpr int kDefinitionShift = 7;

// Encodes one plain line (or a lone separator). The codes 0 and 255 both encode to the shift itself.
std::string EncodeDefinitionLine(std::string_view plain);
// Decodes one stored line. The output has the length of the input.
std::string DecodeDefinitionLine(std::string_view stored);

// Whole texts for the definition tool: every line coded, each ended by CR LF (encoding) or by LF
// (decoding, the form of the plain sources).
std::string EncodeDefinitionText(std::string_view plainText);
std::string DecodeDefinitionText(std::string_view storedText);

// The decoded lines of a definition file, converted to UTF-8; nothing when the file is absent (the
// presence test of FileExists) or cannot be read.
std::optional<std::vector<std::string>> ReadDefinitionLines(IFileSystem& files, ISystem& system,
                                                            const std::string& path);
// The same lines handed one at a time to `visit` (which returns false to stop), the file read once and
// no copy of its lines kept: for a scan's pass over a large file. False when the file is absent or
// cannot be read.
bool ForEachDefinitionLine(IFileSystem& files, ISystem& system, const std::string& path,
                           const std::function<bool(const std::string&)>& visit);

} // namespace grimsweep
