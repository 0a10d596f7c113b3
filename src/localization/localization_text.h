// Reading Localization.xml: its bytes as text, its language groups, and the item lines of one group.
// Only the tags the program relies on are read; the rest of the file is left alone.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace grimsweep {

inline constexpr std::string_view kLocalizationFileName = "Localization.xml";
inline constexpr std::string_view kTranslationItemsTag = "<TRANSLATION_ITEMS>";

// The file's bytes as UTF-8 text. Well-formed UTF-8 stays as it is; a byte that is not (a file saved in
// a Western code page) is taken as the Latin-1 character of that value, so nothing is lost or garbled
// beyond that one character.
std::string DecodeLocalizationBytes(std::string_view bytes);

// One "<LANGUAGE_GROUP" ... "</LANGUAGE_GROUP>" block.
struct LanguageGroup {
    std::string name;       // between its first LANGUAGE_NAME tags
    std::string_view items; // between its TRANSLATION_ITEMS tags
    bool hasItems = false;  // both TRANSLATION_ITEMS tags are there, in order
};

// The groups in file order, found ignoring case. A group without its end tag is no group, and nothing
// after its start is read: a cut-off file gives the groups before the cut.
std::vector<LanguageGroup> LanguageGroups(std::string_view text);

// True when the text holds at least one group, every group it starts is whole (end tag, name and items)
// and the file's root element is closed at its end, blanks after it aside. What a download must hold
// before it may replace the file: an answer cut after its last group is no whole file either.
bool HoldsCompleteLanguageGroups(std::string_view text);

// The item lines of the first whole group named `language` (ignoring case); nothing when there is none.
std::optional<std::vector<std::string>> LanguageItemLines(std::string_view text, std::string_view language);

// The item lines of one language, indexed by tag: "<TAG>text</TAG>" with blanks or tabs before it.
class TranslationItems {
public:
    TranslationItems() = default;
    explicit TranslationItems(std::vector<std::string> lines);

    // The text of the first line whose tag is `name` (ignoring case); nothing when no line has that tag
    // or that line has no closing tag.
    std::optional<std::string> Find(std::string_view name) const;
    std::size_t LineCount() const { return lines_.size(); }

private:
    std::vector<std::string> lines_;
    std::unordered_map<std::string, std::size_t> firstLineOfTag_; // upper-case tag -> line index
};

} // namespace grimsweep
