// Text files at the file boundary: the program's text files are 8-bit text in the system code page with
// CR LF line ends. Reading splits lines; writing converts from UTF-8 and ends every line with CR LF.
// A file that replaces another is written beside it and moved over it in one step.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "platform/system.h"

namespace grimsweep {

inline constexpr std::string_view kCrLf = "\r\n";

// Splits bytes into lines. A line ends at CR LF, a lone CR or a lone LF; a last line without an
// ending still counts; a file that ends with a line end has no empty line after it.
std::vector<std::string> SplitLines(std::string_view bytes);
// The same lines, handed one at a time to `visit` without copying them; it returns false to stop.
void ForEachLine(std::string_view bytes, const std::function<bool(std::string_view)>& visit);

// The lines of a file as stored (bytes, no code-page conversion); nothing when it cannot be read.
std::optional<std::vector<std::string>> ReadRawLines(IFileSystem& files, const std::string& path);
// The lines of a file converted to UTF-8.
std::optional<std::vector<std::string>> ReadTextLines(IFileSystem& files, ISystem& system,
                                                      const std::string& path);

// Writes `bytes` to a temporary file in the same folder and moves it over `path` in one step. On any
// failure the old file stays as it was and the temporary file is removed.
bool ReplaceFileContents(IFileSystem& files, const std::string& path, const std::string& bytes);

// Lines joined for writing: each converted to the code page and followed by CR LF.
std::string EncodeTextLines(ISystem& system, const std::vector<std::string>& lines);

// Appends one line (converted, with CR LF), creating the file when missing.
bool AppendTextLine(IFileSystem& files, ISystem& system, const std::string& path, const std::string& line);

} // namespace grimsweep
