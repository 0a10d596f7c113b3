#include "scan/cookie_scan.h"

#include <vector>

#include "definitions/definition_files.h"
#include "definitions/line_code.h"
#include "scan/cookie_sites.h"
#include "ui/list_icons.h"

namespace grimsweep {

void ScanCookies(ScanRun& run) {
    const auto folder = run.context.machine.shell.SpecialFolderPath(kCsidlCookies);
    if (!folder || folder->empty()) {
        return;
    }
    ScanCookieFolder(run, *folder);
}

void ScanCookieFolder(ScanRun& run, const std::string& folder) {
    IFileSystem& files = run.context.machine.files;
    const std::vector<std::string> blockedSites =
        ReadDefinitionLines(files, run.context.machine.system, run.context.DataFile(kBlockedCookiesFile))
            .value_or(std::vector<std::string>{});

    std::vector<DirectoryEntry> cookieFiles = files.FindEntries(folder + "\\*");
    std::erase_if(cookieFiles, [](const DirectoryEntry& entry) { return entry.attributes & kAttrDirectory; });

    for (std::size_t i = 0; i < cookieFiles.size(); ++i) {
        if (run.StopRequested()) {
            return;
        }
        const std::string& name = cookieFiles[i].name;
        const std::string path = folder + "\\" + name;
        ++run.state.counters.cookiesAndProcesses;
        run.feedback.ReportProgress(
            run.StatusText(name),
            Percent(static_cast<double>(i + 1), static_cast<double>(cookieFiles.size())), -1);

        if (IsBlockedSite(blockedSites, TrimCookieSite(CookieSite(files, path)))) {
            if (run.definitions.exclusions.IsExcluded(path)) {
                run.lists.AddExcluded(path);
            } else {
                run.lists.AddFound(std::string(kCookieFoundPrefix) + name, ui::kIconCookie);
                // Once Scan Now is enabled again no user scan owns the lists: the phase ends here.
                if (!run.feedback.UserScanRunning()) {
                    return;
                }
                run.lists.AddCookieRow(path);
                run.lists.AddRemovalRow(std::string(kCookieRowPrefix) + name, ui::kIconCookie, path,
                                        kTrackingCookieDetails);
                ++run.state.counters.threatsFound;
            }
        }
        run.feedback.Pump();
    }
}

} // namespace grimsweep
