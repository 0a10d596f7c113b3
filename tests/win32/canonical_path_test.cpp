// Every spelling of the path table through the real GetFullPathNameW, GetLongPathNameW and
// GetFinalPathNameByHandleW: the canonical form and the protected-location verdicts must be those the
// simulated machine gives. The link C:\grimsweep-linked-windows to the Windows folder is made from the
// Linux side when the test prefix is set up (Wine makes no links of its own).
#include <gtest/gtest.h>

#include "platform/path_spellings.h"

#include "core/context.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_machine.h"
#include "platform/win32/windows_api.h"
#include "ui/headless_host.h"

namespace grimsweep::win32 {
namespace {

std::string ShortForm(const std::string& path) {
    wchar_t buffer[MAX_PATH];
    const DWORD length = GetShortPathNameW(Widen(path).c_str(), buffer, MAX_PATH);
    return length > 0 && length < MAX_PATH ? Narrow(std::wstring(buffer, length)) : path;
}

TEST(CanonicalPath, EverySpellingOfAPlaceComesToOneFormAndProtectedPlacesStayProtected) {
    Win32Machine machine;
    HeadlessHost host;
    Context context(machine.View(), host);
    context.EstablishDataFolder();
    if (!machine.files.GetAttributes(std::string(kLinkedWindows))) {
        GTEST_SKIP() << "the test prefix has no link " << kLinkedWindows
                     << " (scripts/lib/setup.sh makes it)";
    }
    const std::string programFiles = machine.shell.SpecialFolderPath(38).value_or("");
    ASSERT_TRUE(EqualsFolded(programFiles, "C:\\Program Files"));
    const std::string shortProgramFiles = ShortForm(programFiles);
    EXPECT_NE(shortProgramFiles, programFiles) << "the system gives Program Files a short name";
    const ProtectedLocations protection(context);

    ExpectSpellings(machine.files, protection,
                    PathSpellings(shortProgramFiles, machine.shell.SpecialFolderPath(40).value_or("")));
}

} // namespace
} // namespace grimsweep::win32
