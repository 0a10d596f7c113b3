// Any exclusion text and name (split at the first NUL): the hashed and searched tests answer like the
// linear walk over the pieces, and folding the case of either side changes no answer.
#include "common/case_folding.h"
#include "definitions/exclusion_list.h"
#include "definitions/linear_reference.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace grimsweep;
    const auto text = fuzz::AsText(data, size);
    const auto split = text.find('\0');
    const std::string form(text.substr(0, split));
    const std::string name(split == std::string_view::npos ? std::string_view() : text.substr(split + 1));
    ExclusionList list;
    list.Assign(form);
    fuzz::Require(list.IsExcluded(name) == reference::LinearIsExcluded(form, name), "IsExcluded differs");
    fuzz::Require(list.IsExcludedFolder(name) == reference::LinearIsExcludedFolder(form, name),
                  "IsExcludedFolder differs");
    // Case never matters, for any letter, on either side.
    ExclusionList folded;
    folded.Assign(FoldCase(form));
    fuzz::Require(folded.IsExcluded(name) == list.IsExcluded(FoldCase(name)), "folding changes IsExcluded");
    fuzz::Require(folded.IsExcludedFolder(name) == list.IsExcludedFolder(FoldCase(name)),
                  "folding changes IsExcludedFolder");
    return 0;
}
