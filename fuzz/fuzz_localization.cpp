// Any bytes as a localization file: decoding, the group search and the item lookups end, and agree with
// each other: every group the complete check accepts has its name and items.
#include <string>

#include "fuzz_support.h"
#include "localization/localization_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace grimsweep;
    const std::string text = DecodeLocalizationBytes(fuzz::AsText(data, size));
    fuzz::Require(DecodeLocalizationBytes(text) == text, "decoding twice changes the text");
    const auto groups = LanguageGroups(text);
    if (HoldsCompleteLanguageGroups(text)) {
        fuzz::Require(!groups.empty(), "a complete file without groups");
        for (const auto& group : groups) {
            fuzz::Require(!group.name.empty() && group.hasItems, "a complete file with a partial group");
        }
    }
    for (const auto& group : groups) {
        const auto lines = LanguageItemLines(text, group.name);
        if (!lines) {
            continue;
        }
        // Every tag a line could carry is looked up, and one that no line carries.
        const TranslationItems items(*lines);
        for (const std::string& line : *lines) {
            const auto open = line.find('<');
            const auto close = line.find('>', open == std::string::npos ? 0 : open);
            if (open != std::string::npos && close != std::string::npos) {
                const std::string tag = line.substr(open + 1, close - open - 1);
                (void)items.Find(tag);
                (void)items.Find("x" + tag);
            }
        }
    }
    return 0;
}
