// The "already listed" test of the scanners: does the results list hold a row whose text begins with
// "<threat> - Found", ignoring case (the list view's partial find)? A hash of whole texts cannot answer
// it ("Foo - Found" begins "Foo - Foundation - Found"), so the case-folded row texts are kept sorted and
// the prefix is looked up where it would stand.
#pragma once

#include <set>
#include <string>
#include <string_view>

namespace grimsweep {

class ListedPrefixIndex {
public:
    // Records the text of a row added to the list.
    void Add(std::string_view text);
    // The list was cleared.
    void Clear();
    // Whether some recorded text begins with the prefix, ignoring case.
    bool HasPrefix(std::string_view prefix) const;

private:
    // Case-folded texts; every text that begins with a given prefix sorts at or after the prefix and
    // before any text that does not.
    std::set<std::string, std::less<>> folded;
};

} // namespace grimsweep
