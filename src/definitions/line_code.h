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

// The shift shared by every reader, writer and tool. Bytes 0 to 3 move up to 252..255 and every other
// byte moves down by 3 (the wrap is by 255), which gives the two properties that files and update
// records rely on:
// - only "@" encodes to "=" and only DEL (0x7F) to "|", the plain separators of an update record, and
//   no definition holds either (a shift of 7 sent "6" and "u" there, which split names such as
//   gloomupd.exe and CurrentVersion on their way to the client);
// - no text byte (tab, 0x20 to 0xFF) encodes to a line feed or a carriage return (only CR and 0x10 do),
//   so a stored line is always one line.
inline constexpr int kDefinitionShift = 252;

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
