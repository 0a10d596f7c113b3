// The simulated system: Windows XP (NT 5.1) by default, a wall clock that stands or follows a
// milliseconds source, version resources by path, the single-instance lock, the clipboard, and the
// Windows-1252 code page.
#pragma once

#include <cstdint>
#include <functional>
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
    LocalDateTime Now() override;
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
    // The wall clock. It stands at the time last set unless it follows a source; the weekday is always
    // the date's own, whatever the time set says.
    // Sets the clock. While it follows a source this is a jump (the user or a time server set the
    // clock): the source does not move, so no timer fires.
    void SetNow(const LocalDateTime& when);
    // Runs the clock with a milliseconds source from the time it shows now: the headless host's virtual
    // clock, so that the date moves exactly as timers fire. An empty function stops the clock again.
    void FollowClock(std::function<std::uint64_t()> milliseconds);

    std::uint64_t sleptMilliseconds = 0;
    std::optional<std::string> clipboard;

private:
    std::int64_t setMilliseconds_ = 0; // the time set, in milliseconds since 1 January 1970
    std::uint64_t sourceAtSet_ = 0;    // the source's reading when it was set
    std::function<std::uint64_t()> source_;
};

} // namespace grimsweep::sim
