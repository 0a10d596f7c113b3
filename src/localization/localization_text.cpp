#include "localization/localization_text.h"

#include <utility>

#include "common/case_folding.h"
#include "common/text.h"
#include "common/utf8.h"
#include "platform/text_files.h"

namespace grimsweep {

namespace {

constexpr std::string_view kGroupStart = "<LANGUAGE_GROUP";
constexpr std::string_view kGroupEnd = "</LANGUAGE_GROUP>";
constexpr std::string_view kNameStart = "<LANGUAGE_NAME>";
constexpr std::string_view kNameEnd = "</LANGUAGE_NAME>";
constexpr std::string_view kItemsEnd = "</TRANSLATION_ITEMS>";

// The text between the first `open` and the first `close` after it; nothing when either is missing.
std::optional<std::string_view> Between(std::string_view text, std::string_view open,
                                        std::string_view close) {
    const std::size_t start = FindIgnoreCase(text, open);
    if (start == std::string_view::npos) {
        return std::nullopt;
    }
    const std::size_t from = start + open.size();
    const std::size_t end = FindIgnoreCase(text, close, from);
    if (end == std::string_view::npos) {
        return std::nullopt;
    }
    return text.substr(from, end - from);
}

struct GroupScan {
    std::vector<LanguageGroup> groups;
    bool cutOff = false; // a group started and never ended
};

GroupScan ScanGroups(std::string_view text) {
    GroupScan scan;
    std::size_t position = 0;
    while (true) {
        const std::size_t start = FindIgnoreCase(text, kGroupStart, position);
        if (start == std::string_view::npos) {
            break;
        }
        const std::size_t end = FindIgnoreCase(text, kGroupEnd, start + kGroupStart.size());
        if (end == std::string_view::npos) {
            scan.cutOff = true;
            break;
        }
        const std::string_view block = text.substr(start, end - start);
        LanguageGroup group;
        if (auto name = Between(block, kNameStart, kNameEnd)) {
            group.name = std::string(*name);
        }
        if (auto items = Between(block, kTranslationItemsTag, kItemsEnd)) {
            group.items = *items;
            group.hasItems = true;
        }
        scan.groups.push_back(group);
        position = end + kGroupEnd.size();
    }
    return scan;
}

} // namespace

std::string DecodeLocalizationBytes(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (std::size_t pos = 0; pos < bytes.size();) {
        const Utf8Unit unit = DecodeUtf8At(bytes, pos);
        if (unit.wellFormed) {
            text.append(bytes.substr(pos, unit.length));
        } else {
            AppendUtf8(text, static_cast<unsigned char>(bytes[pos]));
        }
        pos += unit.length;
    }
    return text;
}

std::vector<LanguageGroup> LanguageGroups(std::string_view text) {
    return ScanGroups(text).groups;
}

bool HoldsCompleteLanguageGroups(std::string_view text) {
    const GroupScan scan = ScanGroups(text);
    if (scan.cutOff || scan.groups.empty()) {
        return false;
    }
    for (const LanguageGroup& group : scan.groups) {
        if (group.name.empty() || !group.hasItems) {
            return false;
        }
    }
    constexpr std::string_view kRootEnd = "</XML_DIZ_INFO>";
    const std::size_t last = text.find_last_not_of(" \t\r\n");
    return last != std::string_view::npos && last + 1 >= kRootEnd.size() &&
           EqualsFolded(text.substr(last + 1 - kRootEnd.size(), kRootEnd.size()), kRootEnd);
}

std::optional<std::vector<std::string>> LanguageItemLines(std::string_view text, std::string_view language) {
    for (const LanguageGroup& group : LanguageGroups(text)) {
        if (group.hasItems && EqualsFolded(group.name, language)) {
            return SplitLines(group.items);
        }
    }
    return std::nullopt;
}

TranslationItems::TranslationItems(std::vector<std::string> lines) : lines_(std::move(lines)) {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const std::string_view line = lines_[i];
        if (line.empty()) {
            continue;
        }
        std::string_view head = line.substr(0, line.find('>'));
        if (head.size() <= 2) {
            continue;
        }
        const std::size_t open = head.find('<');
        if (open != std::string_view::npos) {
            head.remove_prefix(open + 1);
        }
        firstLineOfTag_.try_emplace(ToUpper(head), i);
    }
}

std::optional<std::string> TranslationItems::Find(std::string_view name) const {
    const auto found = firstLineOfTag_.find(ToUpper(name));
    if (found == firstLineOfTag_.end()) {
        return std::nullopt;
    }
    const std::string open = "<" + std::string(name) + ">";
    const std::string close = "</" + std::string(name) + ">";
    if (auto text = Between(lines_[found->second], open, close)) {
        return std::string(*text);
    }
    return std::nullopt;
}

} // namespace grimsweep
