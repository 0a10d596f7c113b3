#include "definitions/line_code.h"

#include "definitions/definition_status.h"
#include "platform/text_files.h"

namespace grimsweep {

namespace {

constexpr int kWrap = 255;

char ShiftByte(char c, int by) {
    int code = static_cast<unsigned char>(c) + by;
    if (code > kWrap) {
        code -= kWrap;
    } else if (code < 0) {
        code += kWrap;
    }
    return static_cast<char>(static_cast<unsigned char>(code));
}

std::string Shift(std::string_view text, int by) {
    std::string out(text.size(), '\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        out[i] = ShiftByte(text[i], by);
    }
    return out;
}

std::string CodeLines(std::string_view text, std::string (*code)(std::string_view),
                      std::string_view lineEnd) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (const auto& line : SplitLines(text)) {
        out += code(line);
        out += lineEnd;
    }
    return out;
}

} // namespace

std::string EncodeDefinitionLine(std::string_view plain) {
    return Shift(plain, kDefinitionShift);
}

std::string DecodeDefinitionLine(std::string_view stored) {
    return Shift(stored, -kDefinitionShift);
}

std::string EncodeDefinitionText(std::string_view plainText) {
    return CodeLines(plainText, EncodeDefinitionLine, kCrLf);
}

std::string DecodeDefinitionText(std::string_view storedText) {
    return CodeLines(storedText, DecodeDefinitionLine, "\n");
}

bool ForEachDefinitionLine(IFileSystem& files, ISystem& system, const std::string& path,
                           const std::function<bool(const std::string&)>& visit) {
    if (!FileExists(files, path)) {
        return false;
    }
    const auto bytes = files.ReadFile(path);
    if (!bytes) {
        return false;
    }
    std::string line;
    ForEachLine(*bytes, [&](std::string_view stored) {
        // Decoded into one buffer; every code page agrees with UTF-8 on ASCII, which most lines are.
        line.assign(stored);
        bool ascii = true;
        for (char& c : line) {
            c = ShiftByte(c, -kDefinitionShift);
            ascii = ascii && static_cast<unsigned char>(c) < 0x80;
        }
        return visit(ascii ? line : system.CodePageToUtf8(line));
    });
    return true;
}

std::optional<std::vector<std::string>> ReadDefinitionLines(IFileSystem& files, ISystem& system,
                                                            const std::string& path) {
    std::vector<std::string> lines;
    const bool read = ForEachDefinitionLine(files, system, path, [&lines](const std::string& line) {
        lines.push_back(line);
        return true;
    });
    if (!read) {
        return std::nullopt;
    }
    return lines;
}

} // namespace grimsweep
