#include "scan/listed_prefix_index.h"

#include "common/case_folding.h"

namespace grimsweep {

void ListedPrefixIndex::Add(std::string_view text) {
    folded.insert(FoldCase(text));
}

void ListedPrefixIndex::Clear() {
    folded.clear();
}

bool ListedPrefixIndex::HasPrefix(std::string_view prefix) const {
    const auto foldedPrefix = FoldCase(prefix);
    const auto first = folded.lower_bound(foldedPrefix);
    return first != folded.end() && first->starts_with(foldedPrefix);
}

} // namespace grimsweep
