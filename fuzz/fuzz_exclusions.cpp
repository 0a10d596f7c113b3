// Any exclusion text and name (split at the first NUL): the hashed and searched tests answer like the
// linear walk over the pieces.
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
    return 0;
}
