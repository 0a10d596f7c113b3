#include "platform/text_files.h"

namespace grimsweep {

void ForEachLine(std::string_view bytes, const std::function<bool(std::string_view)>& visit) {
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            if (!visit(bytes.substr(start, i - start))) {
                return;
            }
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
                ++i;
            }
            start = i + 1;
        }
        ++i;
    }
    if (start < bytes.size()) {
        visit(bytes.substr(start));
    }
}

std::vector<std::string> SplitLines(std::string_view bytes) {
    std::vector<std::string> lines;
    ForEachLine(bytes, [&lines](std::string_view line) {
        lines.emplace_back(line);
        return true;
    });
    return lines;
}

std::optional<std::vector<std::string>> ReadRawLines(IFileSystem& files, const std::string& path) {
    auto bytes = files.ReadFile(path);
    if (!bytes) {
        return std::nullopt;
    }
    return SplitLines(*bytes);
}

std::optional<std::vector<std::string>> ReadTextLines(IFileSystem& files, ISystem& system,
                                                      const std::string& path) {
    auto lines = ReadRawLines(files, path);
    if (lines) {
        for (auto& line : *lines) {
            line = system.CodePageToUtf8(line);
        }
    }
    return lines;
}

bool ReplaceFileContents(IFileSystem& files, const std::string& path, const std::string& bytes) {
    const std::string temporary = path + ".new~";
    if (!files.WriteFile(temporary, bytes)) {
        files.DeleteFile(temporary);
        return false;
    }
    if (!files.MoveFile(temporary, path, true)) {
        files.DeleteFile(temporary);
        return false;
    }
    return true;
}

std::string EncodeTextLines(ISystem& system, const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& line : lines) {
        out += system.Utf8ToCodePage(line);
        out += kCrLf;
    }
    return out;
}

bool AppendTextLine(IFileSystem& files, ISystem& system, const std::string& path, const std::string& line) {
    return files.AppendFile(path, system.Utf8ToCodePage(line) + std::string(kCrLf));
}

} // namespace grimsweep
