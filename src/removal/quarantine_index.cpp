#include "removal/quarantine_index.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <map>
#include <optional>

#include "common/case_folding.h"
#include "common/percent_encoding.h"
#include "core/context.h"
#include "platform/file_system.h"
#include "removal/quarantine_folder.h"

namespace grimsweep {

namespace {

constexpr char kSeparator = '\t';
constexpr std::string_view kQuarantinedTag = "Q";
constexpr std::string_view kRestoredTag = "R";
constexpr std::string_view kNumberMark = "#";
constexpr std::array<std::pair<QuarantineKind, std::string_view>, 5> kKindNames = {{
    {QuarantineKind::File, "File"},
    {QuarantineKind::Folder, "Folder"},
    {QuarantineKind::Cookie, "Cookie"},
    {QuarantineKind::Value, "Value"},
    {QuarantineKind::Key, "Key"},
}};

std::string Escape(std::string_view field) {
    std::string out;
    out.reserve(field.size());
    for (char c : field) {
        switch (c) {
        case '%':
            out += "%25";
            break;
        case '\t':
            out += "%09";
            break;
        case '\r':
            out += "%0D";
            break;
        case '\n':
            out += "%0A";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string Unescape(std::string_view field) {
    std::string out;
    out.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '%' && i + 2 < field.size()) {
            const int high = HexDigitValue(field[i + 1]);
            const int low = HexDigitValue(field[i + 2]);
            if (high >= 0 && low >= 0) {
                out += static_cast<char>(high * 16 + low);
                i += 2;
                continue;
            }
        }
        out += field[i];
    }
    return out;
}

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find(kSeparator, start);
        fields.push_back(
            line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
        if (tab == std::string_view::npos) {
            return fields;
        }
        start = tab + 1;
    }
}

bool KindFromName(std::string_view name, QuarantineKind& kind) {
    for (const auto& [value, text] : kKindNames) {
        if (text == name) {
            kind = value;
            return true;
        }
    }
    return false;
}

std::string Joined(std::initializer_list<std::string_view> fields) {
    std::string line;
    for (std::string_view field : fields) {
        if (!line.empty()) {
            line += kSeparator;
        }
        line += Escape(field);
    }
    return line + "\r\n";
}

} // namespace

std::string QuarantineIndexPath(const Context& context) {
    return QuarantineFolder(context) + "\\" + std::string(kQuarantineIndexName);
}

std::string_view QuarantineKindName(QuarantineKind kind) {
    for (const auto& [value, text] : kKindNames) {
        if (value == kind) {
            return text;
        }
    }
    return "File";
}

std::string IndexLine(const QuarantineItem& item) {
    const std::string number = std::to_string(item.number);
    const std::uint32_t kept = KeptAttributes(item.attributes);
    // Plain files keep the seven fields that earlier versions read.
    if (kept == 0) {
        return Joined({kQuarantinedTag, QuarantineKindName(item.kind), item.backupName, item.origin,
                       item.valueName, item.when, number});
    }
    return Joined({kQuarantinedTag, QuarantineKindName(item.kind), item.backupName, item.origin,
                   item.valueName, item.when, number, std::to_string(kept)});
}

std::string RestoredLine(std::uint64_t number, std::string_view when) {
    return Joined({kRestoredTag, std::string(kNumberMark) + std::to_string(number), when});
}

std::uint32_t KeptAttributes(std::uint32_t attributes) {
    return attributes & (kAttrReadOnly | kAttrHidden | kAttrSystem);
}

static std::optional<std::uint64_t> NumberOf(std::string_view field) {
    std::uint64_t number = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), number);
    if (error != std::errc() || end != field.data() + field.size() || number == 0) {
        return std::nullopt;
    }
    return number;
}

std::vector<QuarantineItem> ParseQuarantineIndex(std::string_view text) {
    std::vector<QuarantineItem> items;
    std::map<std::string, std::size_t> latest;     // backup name -> its newest item
    std::map<std::uint64_t, std::size_t> numbered; // number -> its item
    std::uint64_t highest = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        const std::vector<std::string_view> fields = Fields(line);
        if (fields[0] == kQuarantinedTag && fields.size() >= 6 && fields.size() <= 8) {
            QuarantineItem item;
            if (!KindFromName(fields[1], item.kind)) {
                continue;
            }
            item.backupName = Unescape(fields[2]);
            item.origin = Unescape(fields[3]);
            item.valueName = Unescape(fields[4]);
            item.when = Unescape(fields[5]);
            if (item.backupName.empty() || item.origin.empty()) {
                continue;
            }
            // A line without a number, or with one given before, gets the next free one.
            const auto given = fields.size() >= 7 ? NumberOf(fields[6]) : std::nullopt;
            if (fields.size() == 8) {
                const auto attributes = NumberOf(fields[7]);
                item.attributes = attributes ? KeptAttributes(static_cast<std::uint32_t>(*attributes)) : 0;
            }
            item.number = given && numbered.count(*given) == 0 ? *given : highest + 1;
            highest = std::max(highest, item.number);
            const std::string name = FoldFileName(item.backupName);
            if (const auto older = latest.find(name); older != latest.end()) {
                items[older->second].backupTaken = true;
            }
            latest[name] = items.size();
            numbered[item.number] = items.size();
            items.push_back(std::move(item));
        } else if (fields[0] == kRestoredTag && fields.size() == 3) {
            std::optional<std::size_t> index;
            if (fields[1].starts_with(kNumberMark)) {
                if (const auto number = NumberOf(fields[1].substr(kNumberMark.size()))) {
                    if (const auto it = numbered.find(*number); it != numbered.end()) {
                        index = it->second;
                    }
                }
            } else if (const auto it = latest.find(FoldFileName(Unescape(fields[1]))); it != latest.end()) {
                index = it->second;
            }
            if (index) {
                items[*index].restored = true;
                items[*index].restoredWhen = Unescape(fields[2]);
            }
        }
    }
    return items;
}

std::uint64_t NextItemNumber(const std::vector<QuarantineItem>& items) {
    std::uint64_t highest = 0;
    for (const QuarantineItem& item : items) {
        highest = std::max(highest, item.number);
    }
    return highest + 1;
}

bool AppendQuarantineItem(Context& context, QuarantineItem& item) {
    if (item.number == 0) {
        item.number = NextItemNumber(ReadQuarantineIndex(context));
    }
    return context.machine.files.AppendFile(QuarantineIndexPath(context), IndexLine(item));
}

bool AppendRestored(Context& context, std::uint64_t number, std::string_view when) {
    return context.machine.files.AppendFile(QuarantineIndexPath(context), RestoredLine(number, when));
}

std::vector<QuarantineItem> ReadQuarantineIndex(Context& context) {
    const auto text = context.machine.files.ReadFile(QuarantineIndexPath(context));
    return text ? ParseQuarantineIndex(*text) : std::vector<QuarantineItem>{};
}

std::string OriginText(const QuarantineItem& item) {
    if (item.kind == QuarantineKind::Value) {
        return item.origin + "\\" + (item.valueName.empty() ? std::string("(Default)") : item.valueName);
    }
    return item.origin;
}

} // namespace grimsweep
