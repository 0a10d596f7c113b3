// Spellings of protected places and of paths the program must never touch, with what the canonical form
// and the protected-location rules answer for each. The same table runs against the simulated machine and,
// under Wine, against the real calls: both must give these answers.
//
// The machine needs C:\windows with system32\drivers and fonts, C:\Program Files, a profile, and a link
// C:\grimsweep-linked-windows to C:\windows (made from the Linux side under Wine).
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/case_folding.h"
#include "common/text.h"
#include "platform/canonical_path.h"
#include "removal/protected_locations.h"

namespace grimsweep {

inline constexpr std::string_view kLinkedWindows = "C:\\grimsweep-linked-windows";

struct PathSpelling {
    std::string spelling;
    PathKind kind;
    std::string canonical; // folded; empty when not local
    bool refused;          // the removal leaves it alone
};

// `shortProgramFiles` is the machine's 8.3 form of "C:\Program Files", `profile` the user's profile folder.
inline std::vector<PathSpelling> PathSpellings(const std::string& shortProgramFiles,
                                               const std::string& profile) {
    using enum PathKind;
    const std::string folded = FoldFileName(profile);
    return {
        {"C:\\WINDOWS.", Local, "c:\\windows", true},
        {"C:\\WINDOWS. .", Local, "c:\\windows", true},
        {"c:\\windows.\\system32", Local, "c:\\windows\\system32", true},
        {"C:\\windows \\system32.", Local, "c:\\windows\\system32", true},
        {"C:/windows/system32/", Local, "c:\\windows\\system32", true},
        {"C:\\windows\\.\\system32\\..\\fonts", Local, "c:\\windows\\fonts", true},
        {"C:\\windows\\..\\..\\..\\windows", Local, "c:\\windows", true},
        {"C:\\\\windows\\\\\\system32\\drivers\\", Local, "c:\\windows\\system32\\drivers", true},
        {"C:\\windows\\...", Local, "c:\\windows", true},
        {"C:\\WinDoWs\\SyStEm32", Local, "c:\\windows\\system32", true},
        {"C:\\", Local, "c:\\", true},
        {"C:\\..", Local, "c:\\", true},
        {"C:\\windows\\..\\", Local, "c:\\", true},
        {"\\\\?\\C:\\windows.", Local, "c:\\windows", true},
        {"\\\\?\\c:\\WINDOWS\\SYSTEM32\\.\\drivers", Local, "c:\\windows\\system32\\drivers", true},
        {"\\??\\C:\\windows", Local, "c:\\windows", true},
        {shortProgramFiles, Local, "c:\\program files", true},
        {shortProgramFiles + "\\Gloom Toolbar", Local, "c:\\program files\\gloom toolbar", false},
        {std::string(kLinkedWindows) + "\\system32", Local, FoldFileName(kLinkedWindows) + "\\system32",
         true},
        {std::string(kLinkedWindows) + "\\system32\\grimsweep-none.dat", Local,
         FoldFileName(kLinkedWindows) + "\\system32\\grimsweep-none.dat", false},
        {profile + ".", Local, folded, true},
        {profile + "\\..", Local, folded.substr(0, folded.rfind('\\')), true},
        {"C:\\windows\\con\\x", Local, "c:\\windows\\con\\x", false},
        {"\\\\?\\UNC\\localhost\\c$", Network, "", true},
        {"\\\\localhost\\C$\\windows", Network, "", true},
        {"//localhost/c$/windows", Network, "", true},
        {"\\\\.\\C:\\windows", Device, "", true},
        {"\\\\.\\pipe\\grimsweep", Device, "", true},
        {"\\\\?\\GLOBALROOT\\x", Device, "", true},
        {"C:\\windows\\nul", Device, "", true},
        {"C:\\windows\\COM1.txt", Device, "", true},
        {"C:\\windows\\CON .txt", Device, "", true},
        {"C:\\windows\\aux.", Device, "", true},
        {"C:\\windows::$INDEX_ALLOCATION", Stream, "", true},
        {"C:\\windows\\notepad.exe::$DATA", Stream, "", true},
        {"C:windows", Relative, "", true},
        {"\\windows", Relative, "", true},
        {"windows\\system32", Relative, "", true},
        {"C:\\windows\\...\\x", Malformed, "", true},
        {"C:\\windows\\ .\\x", Malformed, "", true},
        {"C:\\windows\\*", Malformed, "", true},
        {"", Malformed, "", true},
    };
}

inline void ExpectSpellings(IFileSystem& files, const ProtectedLocations& protection,
                            const std::vector<PathSpelling>& spellings) {
    for (const PathSpelling& row : spellings) {
        SCOPED_TRACE("spelling \"" + row.spelling + "\"");
        const CanonicalPath canonical = CanonicalizePath(files, row.spelling);
        EXPECT_EQ(static_cast<int>(canonical.kind), static_cast<int>(row.kind));
        if (canonical.Local()) {
            EXPECT_EQ(FoldFileName(canonical.path), row.canonical);
        }
        EXPECT_EQ(protection.Protects(row.spelling), row.refused);
    }
}

} // namespace grimsweep
