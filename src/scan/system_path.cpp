#include "scan/system_path.h"

#include "common/text.h"

namespace grimsweep {

std::string NormaliseSystemPath(std::string_view path, std::string_view systemFolder) {
    constexpr std::string_view kSystem32 = "SYSTEM32\\";
    const auto trimmed = Trim(path);
    // ASCII upper-casing keeps every byte where it was, so the position holds in the trimmed path too.
    const auto hit = ToUpper(trimmed).rfind(kSystem32);
    if (hit == std::string::npos) {
        return std::string(path);
    }
    std::string normal(systemFolder);
    normal += '\\';
    normal.append(trimmed, hit + kSystem32.size());
    return normal;
}

} // namespace grimsweep
