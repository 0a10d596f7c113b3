#include "core/file_presence.h"

#include <string>

#include "common/case_folding.h"
#include "common/text.h"

namespace grimsweep {

namespace {
constexpr std::uint32_t kAbsentAttributes = kAttrHidden | kAttrSystem | kAttrDirectory;
}

bool FileExists(IFileSystem& files, std::string_view path) {
    if (path.empty() || path.find_first_of("*?") != std::string_view::npos) {
        return false;
    }
    const std::string leaf = AfterLastBackslash(path);
    for (const auto& entry : files.FindEntries(std::string(path))) {
        if ((entry.attributes & kAbsentAttributes) == 0 && EqualsFolded(entry.name, leaf)) {
            return true;
        }
    }
    return false;
}

} // namespace grimsweep
