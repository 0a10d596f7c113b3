// Case folding of any bytes (two texts split at the first NUL): folding is stable, the quick comparison
// agrees with the folded texts, and a list joined at "|" folds piece by piece, which the hashed exclusion
// lookups rely on.
#include "common/case_folding.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace grimsweep;
    const auto text = fuzz::AsText(data, size);
    const auto split = text.find('\0');
    const std::string a(text.substr(0, split));
    const std::string b(split == std::string_view::npos ? std::string_view() : text.substr(split + 1));
    const std::string foldedA = FoldCase(a);
    const std::string foldedB = FoldCase(b);
    fuzz::Require(FoldCase(foldedA) == foldedA, "folding twice changes nothing");
    fuzz::Require(EqualsFolded(a, b) == (foldedA == foldedB), "EqualsFolded agrees with FoldCase");
    fuzz::Require(FoldCase(a + "|" + b) == foldedA + "|" + foldedB, "a list folds piece by piece");
    fuzz::Require(ContainsFolded(a, b) == (foldedA.find(foldedB) != std::string::npos), "ContainsFolded");
    return 0;
}
