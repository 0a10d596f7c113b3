#include "removal/registry_backup.h"

#include <charconv>
#include <cstdint>
#include <string_view>
#include <vector>

#include "common/text.h"
#include "common/utf16.h"

namespace grimsweep {

namespace {

constexpr std::string_view kHeaderLine = "REGEDIT4";
constexpr std::string_view kLineEnd = "\r\n";
// regedit ends a hex line with "\" once it reaches this column, and goes on indented by two blanks.
constexpr std::size_t kHexWrapColumn = 77;

std::string WithoutOuterBackslashes(const std::string& path) {
    const auto first = path.find_first_not_of('\\');
    if (first == std::string::npos) {
        return {};
    }
    return path.substr(first, path.find_last_not_of('\\') - first + 1);
}

// Lower-case hex digits, at least `width` of them.
std::string HexDigits(std::uint32_t number, std::size_t width) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string digits;
    do {
        digits.insert(digits.begin(), kDigits[number & 0x0F]);
        number >>= 4;
    } while (number != 0);
    if (digits.size() < width) {
        digits.insert(0, width - digits.size(), '0');
    }
    return digits;
}

class Exporter {
public:
    Exporter(IRegistry& registry, ISystem& system, RegistryRoot root)
        : registry_(registry), system_(system), root_(root) {}

    bool Key(const std::string& path) {
        if (registry_.OpenKey(root_, path, kKeyRead) != kRegistryOk || !Header(path)) {
            return false;
        }
        std::vector<std::string> names;
        if (registry_.ListValueNames(root_, path, names) != kRegistryOk) {
            return false;
        }
        for (const auto& name : names) {
            if (!Value(path, name)) {
                return false;
            }
        }
        out_ += kLineEnd;
        if (registry_.ListSubKeys(root_, path, names) != kRegistryOk) {
            return false;
        }
        for (const auto& name : names) {
            if (!Key(path + "\\" + name)) {
                return false;
            }
        }
        return true;
    }

    bool SingleValue(const std::string& path, const std::string& name) {
        if (!Header(path) || !Value(path, name)) {
            return false;
        }
        out_ += kLineEnd;
        return true;
    }

    std::string Text() const {
        return std::string(kHeaderLine) + std::string(kLineEnd) + std::string(kLineEnd) + out_;
    }

private:
    // The code-page form of a text that comes back unchanged and holds no NUL; nothing otherwise.
    std::optional<std::string> CodePage(const std::string& text) {
        if (text.find('\0') != std::string::npos) {
            return std::nullopt;
        }
        std::string bytes = system_.Utf8ToCodePage(text);
        if (system_.CodePageToUtf8(bytes) != text) {
            return std::nullopt;
        }
        return bytes;
    }

    // A name for a header or a value line: no line break may split it.
    std::optional<std::string> LineName(const std::string& text) {
        auto bytes = CodePage(text);
        if (!bytes || bytes->find_first_of("\r\n") != std::string::npos) {
            return std::nullopt;
        }
        return bytes;
    }

    // Multi-string data: UTF-16LE with NUL units between and after the strings, as code-page bytes with
    // the NULs in the same places.
    std::optional<std::string> MultiStringCodePage(const std::string& raw) {
        const auto text = Utf16LeToUtf8(raw);
        if (!text) {
            return std::nullopt;
        }
        std::string bytes;
        for (std::size_t start = 0;;) {
            const auto nul = text->find('\0', start);
            const auto piece = CodePage(text->substr(start, nul == std::string::npos ? nul : nul - start));
            if (!piece) {
                return std::nullopt;
            }
            bytes += *piece;
            if (nul == std::string::npos) {
                return bytes;
            }
            bytes += '\0';
            start = nul + 1;
        }
    }

    bool Header(const std::string& path) {
        const auto rootName = RegistryRootName(root_);
        const auto name = LineName(path);
        if (rootName.empty() || !name) {
            return false;
        }
        out_ += "[" + std::string(rootName) + "\\" + *name + "]" + std::string(kLineEnd);
        return true;
    }

    static std::string Quoted(std::string_view bytes) {
        return "\"" + ReplaceAll(ReplaceAll(bytes, "\\", "\\\\"), "\"", "\\\"") + "\"";
    }

    static std::string HexLine(std::string line, const std::string& data) {
        std::size_t column = line.size();
        for (std::size_t i = 0; i < data.size(); ++i) {
            const auto byte = static_cast<unsigned char>(data[i]);
            line += HexDigits(byte, 2);
            if (i + 1 == data.size()) {
                break;
            }
            line += ',';
            column += 3;
            if (column >= kHexWrapColumn) {
                line += "\\\r\n  ";
                column = 2;
            }
        }
        return line;
    }

    static std::string HexPrefix(std::uint32_t type) {
        if (type == static_cast<std::uint32_t>(RegistryValueType::Binary)) {
            return "hex:";
        }
        return "hex(" + HexDigits(type, 1) + "):";
    }

    bool Value(const std::string& path, const std::string& name) {
        RegistryValue value;
        if (registry_.QueryValue(root_, path, name, kKeyRead, value) != kRegistryOk) {
            return false;
        }
        std::string line = "@=";
        if (!name.empty()) {
            const auto bytes = LineName(name);
            if (!bytes) {
                return false;
            }
            line = Quoted(*bytes) + "=";
        }
        const auto type = static_cast<std::uint32_t>(value.type);
        switch (value.type) {
        case RegistryValueType::String:
        case RegistryValueType::ExpandString: {
            const auto bytes = CodePage(value.text);
            if (!bytes) {
                return false;
            }
            if (value.type == RegistryValueType::String &&
                bytes->find_first_of("\r\n") == std::string::npos) {
                line += Quoted(*bytes);
            } else {
                line = HexLine(line + HexPrefix(type), *bytes + '\0');
            }
            break;
        }
        case RegistryValueType::Dword:
            if (value.bytes.empty()) {
                line += "dword:" + HexDigits(value.number, 8);
            } else {
                line = HexLine(line + HexPrefix(type), value.bytes);
            }
            break;
        case RegistryValueType::MultiString: {
            const auto bytes = MultiStringCodePage(value.bytes);
            if (!bytes) {
                return false;
            }
            line = HexLine(line + HexPrefix(type), *bytes);
            break;
        }
        default:
            line = HexLine(line + HexPrefix(type), value.bytes);
            break;
        }
        out_ += line + std::string(kLineEnd);
        return true;
    }

    IRegistry& registry_;
    ISystem& system_;
    RegistryRoot root_;
    std::string out_;
};

// --- import ---

std::string_view TrimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::vector<std::string_view> PhysicalLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    while (!bytes.empty()) {
        const auto end = bytes.find('\n');
        auto line = bytes.substr(0, end);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        if (end == std::string_view::npos) {
            break;
        }
        bytes.remove_prefix(end + 1);
    }
    return lines;
}

// A quoted text at the start of `text` (which starts with the opening quote): its bytes with \\ and \"
// undone, and `text` moved past the closing quote. Nothing when the quote is not closed.
std::optional<std::string> TakeQuoted(std::string_view& text) {
    std::string out;
    for (std::size_t i = 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            text.remove_prefix(i + 1);
            return out;
        }
        if (c == '\\' && i + 1 < text.size() && (text[i + 1] == '\\' || text[i + 1] == '"')) {
            out += text[++i];
        } else {
            out += c;
        }
    }
    return std::nullopt;
}

template <typename Number> std::optional<Number> HexNumber(std::string_view digits) {
    Number number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number, 16);
    if (digits.empty() || digits.size() > 2 * sizeof(Number) || error != std::errc() ||
        end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return number;
}

// "01,ab,ff": the bytes; blanks around each are allowed, a trailing comma too.
std::optional<std::string> HexBytes(std::string_view list) {
    std::string bytes;
    list = TrimBlanks(list);
    while (!list.empty()) {
        const auto comma = list.find(',');
        const auto byte = HexNumber<std::uint8_t>(TrimBlanks(list.substr(0, comma)));
        if (!byte) {
            return std::nullopt;
        }
        bytes += static_cast<char>(*byte);
        if (comma == std::string_view::npos) {
            break;
        }
        list = TrimBlanks(list.substr(comma + 1));
    }
    return bytes;
}

class Importer {
public:
    Importer(IRegistry& registry, ISystem& system) : registry_(registry), system_(system) {}

    RegistryImportResult Run(std::string_view bytes) {
        const auto lines = PhysicalLines(bytes);
        std::size_t i = 0;
        while (i < lines.size() && TrimBlanks(lines[i]).empty()) {
            ++i;
        }
        if (i == lines.size() || TrimBlanks(lines[i]) != kHeaderLine) {
            return result_;
        }
        result_.formatKnown = true;
        for (++i; i < lines.size(); ++i) {
            const auto line = TrimBlanks(lines[i]);
            if (line.empty() || line.front() == ';') {
                continue;
            }
            if (line.front() == '[') {
                OpenKey(line);
                continue;
            }
            // Hex data goes on over the following lines while a line ends with a backslash.
            std::string joined(line);
            while (joined.back() == '\\' && joined.find("=hex") != std::string::npos &&
                   i + 1 < lines.size()) {
                joined.pop_back();
                joined += TrimBlanks(lines[++i]);
            }
            if (!SetValue(joined)) {
                ++result_.linesSkipped;
            }
        }
        return result_;
    }

private:
    void OpenKey(std::string_view line) {
        keyOpen_ = false;
        if (line.size() < 2 || line.back() != ']' || line[1] == '-') {
            ++result_.linesSkipped;
            return;
        }
        const auto inner = line.substr(1, line.size() - 2);
        const auto slash = inner.find('\\');
        const auto root = RegistryRootFromName(inner.substr(0, slash));
        const std::string path =
            slash == std::string_view::npos ? std::string() : std::string(inner.substr(slash + 1));
        if (!root || registry_.CreateKey(*root, system_.CodePageToUtf8(path)) != kRegistryOk) {
            ++result_.linesSkipped;
            return;
        }
        root_ = *root;
        path_ = system_.CodePageToUtf8(path);
        keyOpen_ = true;
        ++result_.keysCreated;
    }

    // The text of hex(1) and hex(2) data: the code-page bytes up to the first NUL.
    std::string TextOf(const std::string& bytes) {
        return system_.CodePageToUtf8(bytes.substr(0, bytes.find('\0')));
    }

    // hex(7) data: code-page strings with NULs between and after them, back to UTF-16LE.
    std::optional<std::string> MultiStringOf(const std::string& bytes) {
        std::string text;
        for (const auto& piece : Split(bytes, std::string_view("\0", 1))) {
            text += system_.CodePageToUtf8(piece);
            text += '\0';
        }
        if (!text.empty()) {
            text.pop_back();
        }
        return Utf8ToUtf16Le(text);
    }

    std::optional<RegistryValue> ParseData(std::string_view data) {
        RegistryValue value;
        if (!data.empty() && data.front() == '"') {
            auto text = TakeQuoted(data);
            if (!text || !TrimBlanks(data).empty()) {
                return std::nullopt;
            }
            return RegistryValue::String(system_.CodePageToUtf8(*text));
        }
        if (data.starts_with("dword:")) {
            const auto number = HexNumber<std::uint32_t>(TrimBlanks(data.substr(6)));
            if (!number) {
                return std::nullopt;
            }
            return RegistryValue::Dword(*number);
        }
        if (!data.starts_with("hex")) {
            return std::nullopt;
        }
        data.remove_prefix(3);
        std::uint32_t type = static_cast<std::uint32_t>(RegistryValueType::Binary);
        if (data.starts_with("(")) {
            const auto close = data.find(')');
            const auto number =
                HexNumber<std::uint32_t>(data.substr(1, close == std::string_view::npos ? 0 : close - 1));
            if (!number) {
                return std::nullopt;
            }
            type = *number;
            data.remove_prefix(close + 1);
        }
        if (!data.starts_with(":")) {
            return std::nullopt;
        }
        auto bytes = HexBytes(data.substr(1));
        if (!bytes) {
            return std::nullopt;
        }
        value.type = static_cast<RegistryValueType>(type);
        switch (value.type) {
        case RegistryValueType::String:
        case RegistryValueType::ExpandString:
            value.text = TextOf(*bytes);
            break;
        case RegistryValueType::Dword:
            if (bytes->size() == sizeof value.number) {
                for (std::size_t k = 0; k < sizeof value.number; ++k) {
                    value.number |= static_cast<std::uint32_t>(static_cast<unsigned char>((*bytes)[k]))
                                    << (8 * k);
                }
            } else {
                value.bytes = std::move(*bytes);
            }
            break;
        case RegistryValueType::MultiString: {
            auto raw = MultiStringOf(*bytes);
            if (!raw) {
                return std::nullopt;
            }
            value.bytes = std::move(*raw);
            break;
        }
        default:
            value.bytes = std::move(*bytes);
            break;
        }
        return value;
    }

    bool SetValue(std::string_view line) {
        if (!keyOpen_) {
            return false;
        }
        std::string name;
        if (line.front() == '@') {
            line.remove_prefix(1);
        } else if (line.front() == '"') {
            auto quoted = TakeQuoted(line);
            if (!quoted) {
                return false;
            }
            name = system_.CodePageToUtf8(*quoted);
        } else {
            return false;
        }
        line = TrimBlanks(line);
        if (!line.starts_with("=")) {
            return false;
        }
        const auto value = ParseData(TrimBlanks(line.substr(1)));
        if (!value || registry_.SetValue(root_, path_, name, *value) != kRegistryOk) {
            return false;
        }
        ++result_.valuesSet;
        return true;
    }

    IRegistry& registry_;
    ISystem& system_;
    RegistryImportResult result_;
    bool keyOpen_ = false;
    RegistryRoot root_ = RegistryRoot::CurrentUser;
    std::string path_;
};

} // namespace

std::optional<std::string> ExportRegistryEntry(IRegistry& registry, ISystem& system, RegistryRoot root,
                                               const std::string& keyPath,
                                               const std::optional<std::string>& valueName) {
    const std::string path = WithoutOuterBackslashes(keyPath);
    if (path.empty()) {
        return std::nullopt;
    }
    Exporter exporter(registry, system, root);
    if (!(valueName ? exporter.SingleValue(path, *valueName) : exporter.Key(path))) {
        return std::nullopt;
    }
    return exporter.Text();
}

RegistryImportResult ImportRegistryText(IRegistry& registry, ISystem& system, const std::string& bytes) {
    return Importer(registry, system).Run(bytes);
}

} // namespace grimsweep
