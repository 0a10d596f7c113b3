#include "scan/system_path.h"

#include "common/text.h"

namespace grimsweep {

std::string NormaliseSystemPath(std::string_view path, std::string_view systemFolder) {
    constexpr std::string_view kSystem32 = "SYSTEM32\\";
    constexpr std::string_view kSysWow64 = "SYSWOW64\\";
    const auto trimmed = Trim(path);
    // ASCII upper-casing keeps every byte where it was, so the position holds in the trimmed path too.
    const std::string upper = ToUpper(trimmed);
    const auto system32 = upper.rfind(kSystem32);
    const auto sysWow64 = upper.rfind(kSysWow64);
    // The later of the two counts; SysWOW64 lies beside the system folder.
    if (sysWow64 != std::string::npos && (system32 == std::string::npos || sysWow64 > system32)) {
        const std::size_t slash = systemFolder.rfind('\\');
        std::string normal(systemFolder.substr(0, slash == std::string_view::npos ? 0 : slash));
        normal += "\\SysWOW64\\";
        normal.append(trimmed, sysWow64 + kSysWow64.size());
        return normal;
    }
    if (system32 == std::string::npos) {
        return std::string(path);
    }
    std::string normal(systemFolder);
    normal += '\\';
    normal.append(trimmed, system32 + kSystem32.size());
    return normal;
}

} // namespace grimsweep
