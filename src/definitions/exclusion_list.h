// The exclusion list: names and locations the user declared harmless, one per line of ENoSignature.dat
// (plain text, not line-coded). In memory it is every non-blank line followed by "|"; the tests split
// that text at "|". Equality tests are hashed and give exactly the answers of a walk over the pieces.
#pragma once

#include <string>
#include <string_view>
#include <unordered_set>

namespace grimsweep {

class Context;

inline constexpr std::string_view kExclusionFile = "ENoSignature.dat";

class ExclusionList {
public:
    // Replaces the in-memory form ("entry|entry|") and rebuilds the index.
    void Assign(std::string form);
    const std::string& Form() const { return form_; }

    // True when a piece equals the name, or the name trimmed, ignoring case (of every letter, as Windows
    // compares names). With a non-empty list a
    // blank name is excluded (the piece after the last "|" is empty).
    bool IsExcluded(std::string_view name) const;
    // As IsExcluded; a piece that contains the name, ignoring case, also excludes it.
    bool IsExcludedFolder(std::string_view name) const;

private:
    std::string form_;
    std::string foldedForm_;
    std::unordered_set<std::string> foldedPieces_;
};

// Rebuilds the list from the file, letting window messages run after each line.
void LoadExclusions(Context& context, ExclusionList& exclusions);
// Appends the trimmed entry as a line (creating the file when missing), then reloads the list even when
// the append failed. Returns whether the append succeeded.
bool AppendExclusion(Context& context, ExclusionList& exclusions, std::string_view entry);

} // namespace grimsweep
