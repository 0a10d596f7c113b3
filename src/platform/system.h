// The running system: version, folders, the program's own executable and its version resource, the
// single-instance lock, local time, the clipboard and the system code page.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace grimsweep {

inline constexpr std::uint32_t kPlatformWin9x = 1;
inline constexpr std::uint32_t kPlatformNt = 2;

struct OsVersion {
    std::uint32_t platformId = kPlatformNt;
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t build = 0;
};

struct VersionResource {
    // String values of the first string table ("ProductName", "CompanyName", "Comments", ...).
    std::map<std::string, std::string> strings;
    // The fixed file version, major.minor.build.revision.
    std::uint16_t fileMajor = 0;
    std::uint16_t fileMinor = 0;
    std::uint16_t fileBuild = 0;
    std::uint16_t fileRevision = 0;
};

struct LocalDateTime {
    int year = 1601;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int dayOfWeek = 0; // 0 Sunday .. 6 Saturday
    int millisecond = 0;

    friend bool operator==(const LocalDateTime&, const LocalDateTime&) = default;
};

class ISystem {
public:
    virtual ~ISystem() = default;

    virtual OsVersion GetOsVersion() = 0;
    // The system folder (C:\Windows\system32), without trailing backslash.
    virtual std::string SystemFolder() = 0;
    // Full path of the running executable.
    virtual std::string OwnExecutablePath() = 0;
    virtual std::optional<VersionResource> ReadVersionResource(const std::string& path) = 0;

    // Takes the machine-wide lock of that name for the rest of the process; false when another
    // process already holds it.
    virtual bool AcquireSingleInstanceLock(const std::string& name) = 0;

    virtual LocalDateTime Now() = 0;
    // Date and time as the user's locale writes them, for display.
    virtual std::string FormatDateTimeForDisplay(const LocalDateTime& when) = 0;
    virtual void Sleep(std::uint32_t milliseconds) = 0;

    virtual bool SetClipboardText(const std::string& text) = 0;
    virtual std::optional<std::string> GetClipboardText() = 0;

    // Conversions between the system's 8-bit code page and UTF-8, for text files and network text.
    virtual std::string CodePageToUtf8(const std::string& bytes) = 0;
    virtual std::string Utf8ToCodePage(const std::string& text) = 0;
};

} // namespace grimsweep
