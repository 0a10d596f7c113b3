// Safety.dat text of any bytes: the lines become entries, and the hashed safe test answers like the
// linear walk for every line of the input taken as a path, and alike for the path in folded case.
#include "common/case_folding.h"
#include "definitions/linear_reference.h"
#include "definitions/safe_list.h"
#include "fuzz_support.h"
#include "platform/text_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace grimsweep;
    const auto lines = SplitLines(fuzz::AsText(data, size));
    const auto entries = SafeListEntries(lines, fuzz::Macros());
    SafeList list;
    list.Assign(entries);
    // Raw lines as entries too: they reach the test without the load's preparation.
    SafeList raw;
    raw.Assign(lines);
    for (const auto& probe : lines) {
        const bool safe = list.IsSafeItem(probe);
        fuzz::Require(safe == reference::LinearIsSafeItem(entries, probe), "safe list differs");
        fuzz::Require(raw.IsSafeItem(probe) == reference::LinearIsSafeItem(lines, probe),
                      "raw safe list differs");
        // Case never matters, for any letter.
        fuzz::Require(list.IsSafeItem(FoldCase(probe)) == safe, "the folded path answers otherwise");
    }
    return 0;
}
