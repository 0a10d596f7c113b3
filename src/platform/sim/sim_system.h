// The simulated system: Windows XP (NT 5.1) by default, an adjustable clock, version resources by path,
// the single-instance lock, the clipboard, and the Windows-1252 code page.
#pragma once

#include <map>
#include <set>
#include <string>

#include "platform/system.h"

namespace grimsweep::sim {

class SimSystem : public ISystem {
public:
    SimSystem();

    OsVersion GetOsVersion() override { return osVersion; }
    std::string SystemFolder() override { return systemFolder; }
    std::string OwnExecutablePath() override { return executablePath; }
    std::optional<VersionResource> ReadVersionResource(const std::string& path) override;
    bool AcquireSingleInstanceLock(const std::string& name) override;
    LocalDateTime Now() override { return now; }
    std::string FormatDateTimeForDisplay(const LocalDateTime& when) override;
    void Sleep(std::uint32_t milliseconds) override { sleptMilliseconds += milliseconds; }
    bool SetClipboardText(const std::string& text) override;
    std::optional<std::string> GetClipboardText() override { return clipboard; }
    std::string CodePageToUtf8(const std::string& bytes) override;
    std::string Utf8ToCodePage(const std::string& text) override;

    OsVersion osVersion{kPlatformNt, 5, 1, 2600};
    std::string systemFolder = "C:\\WINDOWS\\system32";
    std::string executablePath = "C:\\Program Files\\Grimsweep\\grimsweep.exe";
    std::map<std::string, VersionResource> versionResources; // by upper-case path
    std::set<std::string> heldLocks;                         // locks held by other processes
    std::set<std::string> ownLocks;                          // locks this process holds
    LocalDateTime now{2006, 3, 16, 0, 0, 0, 4};
    std::uint64_t sleptMilliseconds = 0;
    std::optional<std::string> clipboard;
};

} // namespace grimsweep::sim
