#include "removal/registry_backup.h"

#include <charconv>
#include <cstdint>
#include <string_view>
#include <vector>

#include "common/case_folding.h"
#include "common/text.h"
#include "common/utf16.h"

namespace grimsweep {

namespace {

constexpr char kHeader4[] = "REGEDIT4";
constexpr char kHeader5[] = "Windows Registry Editor Version 5.00";
// Version 5.00 files are UTF-16LE text after this mark.
constexpr char kByteOrderMark[] = "\xFF\xFE";
constexpr char kLineEnd[] = "\r\n";
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

// One key of an export, with the values that go under its header.
struct KeyBlock {
    std::string path;
    std::vector<std::pair<std::string, RegistryValue>> values;
};

// Reads everything an export holds before any of it is written, so that the format can be chosen for
// the whole file.
class Reader {
public:
    Reader(IRegistry& registry, RegistryRoot root) : registry_(registry), root_(root) {}

    bool Key(const std::string& path) {
        if (registry_.OpenKey(root_, path, kKeyRead) != kRegistryOk) {
            return false;
        }
        KeyBlock block{path, {}};
        std::vector<std::string> names;
        if (registry_.ListValueNames(root_, path, names) != kRegistryOk) {
            return false;
        }
        for (const auto& name : names) {
            if (!Read(block, name)) {
                return false;
            }
        }
        blocks_.push_back(std::move(block));
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
        KeyBlock block{path, {}};
        if (!Read(block, name)) {
            return false;
        }
        blocks_.push_back(std::move(block));
        return true;
    }

    const std::vector<KeyBlock>& Blocks() const { return blocks_; }

private:
    bool Read(KeyBlock& block, const std::string& name) {
        RegistryValue value;
        if (registry_.QueryValue(root_, block.path, name, kKeyRead, value) != kRegistryOk) {
            return false;
        }
        block.values.emplace_back(name, std::move(value));
        return true;
    }

    IRegistry& registry_;
    RegistryRoot root_;
    std::vector<KeyBlock> blocks_;
};

// Writes the blocks in one format: REGEDIT4 or version 5.00. Nothing when a name or text has no exact
// form in that format.
class Writer {
public:
    Writer(ISystem& system, bool version5) : system_(system), version5_(version5) {}

    std::optional<std::string> Write(RegistryRoot root, const std::vector<KeyBlock>& blocks) {
        const auto rootName = RegistryRootName(root);
        if (rootName.empty()) {
            return std::nullopt;
        }
        std::string out = std::string(version5_ ? kHeader5 : kHeader4) + kLineEnd + kLineEnd;
        for (const auto& block : blocks) {
            const auto path = Name(block.path);
            if (!path) {
                return std::nullopt;
            }
            out += "[" + std::string(rootName) + "\\" + *path + "]" + kLineEnd;
            for (const auto& [name, value] : block.values) {
                const auto line = ValueLine(name, value);
                if (!line) {
                    return std::nullopt;
                }
                out += *line + kLineEnd;
            }
            out += kLineEnd;
        }
        if (!version5_) {
            return out;
        }
        // Every piece was checked to be well-formed UTF-8, so the whole text converts.
        return std::string(kByteOrderMark) + *Utf8ToUtf16Le(out);
    }

private:
    // A text as it goes into the file: code-page bytes that come back unchanged, or for version 5.00 the
    // UTF-8 text itself when it converts to UTF-16. Nothing for a text holding a NUL.
    std::optional<std::string> Text(const std::string& text) {
        if (text.find('\0') != std::string::npos) {
            return std::nullopt;
        }
        if (version5_) {
            return Utf8ToUtf16Le(text) ? std::optional<std::string>(text) : std::nullopt;
        }
        std::string bytes = system_.Utf8ToCodePage(text);
        if (system_.CodePageToUtf8(bytes) != text) {
            return std::nullopt;
        }
        return bytes;
    }

    // A name for a header or a value line: no line break may split it.
    std::optional<std::string> Name(const std::string& text) {
        auto form = Text(text);
        if (!form || form->find_first_of("\r\n") != std::string::npos) {
            return std::nullopt;
        }
        return form;
    }

    // REGEDIT4 multi-string data: the UTF-16LE strings as code-page bytes with the NULs in the same places.
    std::optional<std::string> MultiStringCodePage(const std::string& raw) {
        const auto text = Utf16LeToUtf8(raw);
        if (!text) {
            return std::nullopt;
        }
        std::string bytes;
        for (std::size_t start = 0;;) {
            const auto nul = text->find('\0', start);
            const auto piece = Text(text->substr(start, nul == std::string::npos ? nul : nul - start));
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

    static std::string Quoted(std::string_view text) {
        return "\"" + ReplaceAll(ReplaceAll(text, "\\", "\\\\"), "\"", "\\\"") + "\"";
    }

    // Where a line has got to, counted in characters as regedit counts them.
    std::size_t Column(const std::string& line) const {
        return version5_ ? Utf8ToUtf16Le(line)->size() / 2 : line.size();
    }

    std::string HexLine(const std::string& start, std::uint32_t type, const std::string& data) const {
        std::string line = start;
        if (type == static_cast<std::uint32_t>(RegistryValueType::Binary)) {
            line += "hex:";
        } else {
            line += "hex(" + HexDigits(type, 1) + "):";
        }
        std::size_t column = Column(line);
        for (std::size_t i = 0; i < data.size(); ++i) {
            line += HexDigits(static_cast<unsigned char>(data[i]), 2);
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

    // Strings are quoted unless they hold a line break (or, in version 5.00, a NUL); those and expandable
    // strings go as hex: the text with its NUL terminator, in code-page bytes or UTF-16LE. String data
    // that is no such text goes in version 5.00 only, as hex of exactly the bytes the registry holds.
    std::optional<std::string> StringLine(const std::string& start, const RegistryValue& value) {
        const auto type = static_cast<std::uint32_t>(value.type);
        const bool plain = value.type == RegistryValueType::String;
        if (value.rawString) {
            return version5_ ? std::optional<std::string>(HexLine(start, type, value.bytes)) : std::nullopt;
        }
        if (version5_) {
            const auto wide = Utf8ToUtf16Le(value.text);
            if (!wide) {
                return std::nullopt;
            }
            if (plain && value.text.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos) {
                return start + Quoted(value.text);
            }
            return HexLine(start, type, *wide + std::string(2, '\0'));
        }
        const auto bytes = Text(value.text);
        if (!bytes) {
            return std::nullopt;
        }
        if (plain && bytes->find_first_of("\r\n") == std::string::npos) {
            return start + Quoted(*bytes);
        }
        return HexLine(start, type, *bytes + '\0');
    }

    std::optional<std::string> ValueLine(const std::string& name, const RegistryValue& value) {
        std::string start = "@=";
        if (!name.empty()) {
            const auto form = Name(name);
            if (!form) {
                return std::nullopt;
            }
            start = Quoted(*form) + "=";
        }
        const auto type = static_cast<std::uint32_t>(value.type);
        switch (value.type) {
        case RegistryValueType::String:
        case RegistryValueType::ExpandString:
            return StringLine(start, value);
        case RegistryValueType::Dword:
            if (value.bytes.empty()) {
                return start + "dword:" + HexDigits(value.number, 8);
            }
            return HexLine(start, type, value.bytes);
        case RegistryValueType::MultiString: {
            if (version5_) {
                return HexLine(start, type, value.bytes);
            }
            const auto bytes = MultiStringCodePage(value.bytes);
            if (!bytes) {
                return std::nullopt;
            }
            return HexLine(start, type, *bytes);
        }
        default:
            return HexLine(start, type, value.bytes);
        }
    }

    ISystem& system_;
    bool version5_;
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

// A value line cut into its name as written (quotes undone; empty for @) and its data; nothing for a
// line of another shape.
struct ValueLineParts {
    std::string name;
    std::string_view data;
};

std::optional<ValueLineParts> SplitValueLine(std::string_view line) {
    ValueLineParts parts;
    if (line.starts_with('@')) {
        line.remove_prefix(1);
    } else if (line.starts_with('"')) {
        auto quoted = TakeQuoted(line);
        if (!quoted) {
            return std::nullopt;
        }
        parts.name = std::move(*quoted);
    } else {
        return std::nullopt;
    }
    line = TrimBlanks(line);
    if (!line.starts_with('=')) {
        return std::nullopt;
    }
    parts.data = TrimBlanks(line.substr(1));
    return parts;
}

// The lines that say something, each hex value joined with the lines its trailing backslashes continue it
// over.
std::vector<std::string> Statements(const std::vector<std::string_view>& lines, std::size_t first) {
    std::vector<std::string> statements;
    for (std::size_t i = first; i < lines.size(); ++i) {
        const auto line = TrimBlanks(lines[i]);
        if (line.empty() || line.front() == ';') {
            continue;
        }
        std::string joined(line);
        const auto parts = SplitValueLine(line);
        if (parts && parts->data.starts_with("hex")) {
            while (joined.back() == '\\' && i + 1 < lines.size()) {
                joined.pop_back();
                joined += TrimBlanks(lines[++i]);
            }
        }
        statements.push_back(std::move(joined));
    }
    return statements;
}

// A key path as key paths compare: case folded, without empty levels.
std::string ComparableKeyPath(std::string_view path) {
    std::string out;
    for (const auto& level : Split(FoldCase(path), "\\")) {
        if (!level.empty()) {
            out += out.empty() ? "" : "\\";
            out += level;
        }
    }
    return out;
}

class Importer {
public:
    Importer(IRegistry& registry, ISystem& system, const std::optional<RegistryImportScope>& scope)
        : registry_(registry), system_(system), scope_(scope) {}

    RegistryImportResult Run(std::string_view bytes) {
        std::string decoded;
        if (bytes.starts_with(kByteOrderMark)) {
            auto text = Utf16LeToUtf8(bytes.substr(2));
            if (!text) {
                return result_;
            }
            decoded = std::move(*text);
            bytes = decoded;
            unicodeFile_ = true;
        }
        const auto lines = PhysicalLines(bytes);
        std::size_t i = 0;
        while (i < lines.size() && TrimBlanks(lines[i]).empty()) {
            ++i;
        }
        if (i == lines.size()) {
            return result_;
        }
        const auto header = TrimBlanks(lines[i]);
        version5_ = header == kHeader5;
        if (!version5_ && header != kHeader4) {
            return result_;
        }
        result_.formatKnown = true;
        const auto statements = Statements(lines, i + 1);
        if (scope_) {
            for (const auto& statement : statements) {
                if (statement.front() == '[' && !InScope(statement)) {
                    result_.outsideScope = true;
                    return result_;
                }
            }
        }
        for (const auto& statement : statements) {
            if (statement.front() == '[') {
                OpenKey(statement);
            } else if (!SetValue(statement)) {
                ++result_.linesSkipped;
            }
        }
        return result_;
    }

private:
    struct KeyHeader {
        RegistryRoot root = RegistryRoot::CurrentUser;
        std::string path;
        bool remove = false; // "[-key]"
    };

    // Names and quoted text of the file as UTF-8.
    std::string Text(const std::string& bytes) {
        return unicodeFile_ ? bytes : system_.CodePageToUtf8(bytes);
    }

    // "[root\path]" or "[-root\path]"; nothing for a line that is no whole header of a known root.
    std::optional<KeyHeader> Header(std::string_view line) {
        if (line.size() < 2 || line.back() != ']') {
            return std::nullopt;
        }
        KeyHeader header;
        auto inner = line.substr(1, line.size() - 2);
        if (inner.starts_with('-')) {
            header.remove = true;
            inner.remove_prefix(1);
        }
        const auto slash = inner.find('\\');
        const auto root = RegistryRootFromName(inner.substr(0, slash));
        if (!root) {
            return std::nullopt;
        }
        header.root = *root;
        if (slash != std::string_view::npos) {
            header.path = Text(std::string(inner.substr(slash + 1)));
        }
        return header;
    }

    bool InScope(std::string_view line) {
        const auto header = Header(line);
        if (!header || header->root != scope_->root) {
            return false;
        }
        const auto base = ComparableKeyPath(scope_->keyPath);
        const auto path = ComparableKeyPath(header->path);
        return base.empty() || path == base || path.starts_with(base + "\\");
    }

    void OpenKey(std::string_view line) {
        keyOpen_ = false;
        const auto header = Header(line);
        if (!header || header->remove || registry_.CreateKey(header->root, header->path) != kRegistryOk) {
            ++result_.linesSkipped;
            return;
        }
        root_ = header->root;
        path_ = header->path;
        keyOpen_ = true;
        ++result_.keysCreated;
    }

    // String data in hex. REGEDIT4: the code-page bytes up to the first NUL. Version 5.00: UTF-16LE with
    // a terminating NUL is the text before it, any other NUL kept; any other data is written back as it
    // stands.
    RegistryValue StringOf(RegistryValueType type, const std::string& bytes) {
        if (!version5_) {
            RegistryValue value =
                RegistryValue::String(system_.CodePageToUtf8(bytes.substr(0, bytes.find('\0'))));
            value.type = type;
            return value;
        }
        if (auto text = Utf16LeToUtf8(bytes); text && !text->empty() && text->back() == '\0') {
            text->pop_back();
            RegistryValue value = RegistryValue::String(std::move(*text));
            value.type = type;
            return value;
        }
        return RegistryStringFromData(type, bytes);
    }

    // Multi-string data as the system keeps it. Version 5.00 has it already; REGEDIT4 has code-page
    // strings with NULs between and after them.
    std::optional<std::string> MultiStringOf(const std::string& bytes) {
        if (version5_) {
            return bytes;
        }
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
            return RegistryValue::String(Text(*text));
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
            return StringOf(value.type, *bytes);
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
        const auto parts = SplitValueLine(line);
        if (!keyOpen_ || !parts) {
            return false;
        }
        const auto value = ParseData(parts->data);
        if (!value || registry_.SetValue(root_, path_, Text(parts->name), *value) != kRegistryOk) {
            return false;
        }
        ++result_.valuesSet;
        return true;
    }

    IRegistry& registry_;
    ISystem& system_;
    const std::optional<RegistryImportScope>& scope_;
    RegistryImportResult result_;
    bool unicodeFile_ = false; // UTF-16LE after the byte-order mark; otherwise code-page bytes
    bool version5_ = false;    // hex(1), hex(2) and hex(7) data are UTF-16LE
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
    Reader reader(registry, root);
    if (!(valueName ? reader.SingleValue(path, *valueName) : reader.Key(path))) {
        return std::nullopt;
    }
    // REGEDIT4 whenever it carries the entry exactly, as regedit's older format that every version reads.
    if (auto text = Writer(system, false).Write(root, reader.Blocks())) {
        return text;
    }
    return Writer(system, true).Write(root, reader.Blocks());
}

RegistryImportResult ImportRegistryText(IRegistry& registry, ISystem& system, const std::string& bytes,
                                        const std::optional<RegistryImportScope>& scope) {
    return Importer(registry, system, scope).Run(bytes);
}

} // namespace grimsweep
