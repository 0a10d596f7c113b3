// The definition tool's check on any stored file, for every kind of definition file.
#include "definitions/definition_check.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace grimsweep;
    const auto bytes = fuzz::AsText(data, size);
    for (const auto& file : kDefinitionFiles) {
        int previous = 0;
        for (const auto& problem : CheckDefinitionFile(file.kind, bytes)) {
            fuzz::Require(problem.lineNumber > previous && !problem.message.empty(),
                          "problems in line order");
            previous = problem.lineNumber;
        }
    }
    return 0;
}
