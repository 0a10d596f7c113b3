// The line code of the definition files: every stored line is its plain text with each byte shifted by
// one fixed amount, wrapping by 255. It works on bytes, before any code-page conversion.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "platform/system.h"

namespace grimsweep {

// The shift shared by every reader, writer and tool. With 10, only the plain bytes 0 and 3 (control
// characters no definition holds) encode to a line feed or a carriage return, so an encoded line never
// splits when read back.
inline constexpr int kDefinitionShift = 10;

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

} // namespace grimsweep
