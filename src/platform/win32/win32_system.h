// The running system through kernel32, version.dll and user32.
#pragma once

#include "platform/system.h"

namespace grimsweep::win32 {

class Win32System : public ISystem {
public:
    Win32System() = default;
    ~Win32System() override;
    Win32System(const Win32System&) = delete;
    Win32System& operator=(const Win32System&) = delete;

    OsVersion GetOsVersion() override;
    std::string SystemFolder() override;
    std::string OwnExecutablePath() override;
    std::optional<VersionResource> ReadVersionResource(const std::string& path) override;
    bool AcquireSingleInstanceLock(const std::string& name) override;
    LocalDateTime Now() override;
    std::string FormatDateTimeForDisplay(const LocalDateTime& when) override;
    void Sleep(std::uint32_t milliseconds) override;
    bool SetClipboardText(const std::string& text) override;
    std::optional<std::string> GetClipboardText() override;
    std::string CodePageToUtf8(const std::string& bytes) override;
    std::string Utf8ToCodePage(const std::string& text) override;

private:
    void* instanceLock_ = nullptr; // held for the life of the process
};

} // namespace grimsweep::win32
