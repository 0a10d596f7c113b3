// The safe list: items that must never be reported, built from Safety.dat at the start of every scan.
// Matching is whole-path equality ignoring case and one trailing slash or backslash; an entry never
// covers the items below it. Lookups are hashed and give exactly the answers of a walk over the entries.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "core/path_macros.h"

namespace grimsweep {

class Context;

class SafeList {
public:
    // Replaces the entries and rebuilds the index.
    void Assign(std::vector<std::string> entries);
    const std::vector<std::string>& Entries() const { return entries_; }

    // True for an empty path, for a path equal to an entry (ignoring case, blanks around it and one
    // trailing "/" then "\"), and for a bare hive root when the list holds a non-blank entry.
    bool IsSafeItem(std::string_view path) const;

private:
    std::vector<std::string> entries_;
    std::unordered_set<std::string> normalised_; // case-folded, trimmed, one "/" then one "\" removed
};

// The entries of the plain (decoded) lines of Safety.dat: one per line, joined by CR LF and split again,
// which leaves a last empty entry.
std::vector<std::string> SafeListEntries(const std::vector<std::string>& plainLines,
                                         const PathMacroTable& macros);

// Rebuilds the safe list from Safety.dat in the data folder, letting window messages run after each
// line and stopping early when `stopRequested` says so. A missing file gives an empty list. Always true.
bool LoadSafeList(Context& context, SafeList& list, const std::function<bool()>& stopRequested = {});

} // namespace grimsweep
