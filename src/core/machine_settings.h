// Machine-wide values under HKEY_LOCAL_MACHINE\SOFTWARE\<company>\<application>\<section>, such as the
// first-run marker. A user who may not write there (a standard user) gets them under
// HKEY_CURRENT_USER\SOFTWARE\<company>\<application>\Machine\<section> instead, read wherever the
// machine's key has no value. Only when neither can be written
// does the Permission Denied dialogue come, unless the user chose to ignore it for good.
#pragma once

#include <stdexcept>
#include <string>

#include "core/settings_store.h"
#include "platform/registry.h"
#include "ui/ui_host.h"

namespace grimsweep {

// Error numbers are counted from the object-error base, as the program's callers know them.
inline constexpr long kObjectErrorBase = -2147221504;
inline constexpr long kErrorEmptyAppName = kObjectErrorBase + 1000;
inline constexpr long kErrorEmptySection = kObjectErrorBase + 1001;
inline constexpr long kErrorEmptyKey = kObjectErrorBase + 1002;
inline constexpr long kErrorCannotOpenSection = kObjectErrorBase + 1003;
inline constexpr long kErrorNotAString = kObjectErrorBase + 1004;

class MachineSettingError : public std::runtime_error {
public:
    MachineSettingError(long number, const std::string& description)
        : std::runtime_error(description), number_(number) {}
    long Number() const { return number_; }

private:
    long number_;
};

inline constexpr std::string_view kUserStandInSection = "Machine";
inline constexpr std::string_view kPermissionDeniedTitle = "Permission Denied";
// The dialogue text that follows the program name.
inline constexpr std::string_view kPermissionDeniedText =
    " requires read/write access to the system registry and hard drive in order to run properly.  This "
    "user account does not have the proper permissions set.  As a result some or all of your settings may "
    "not be properly saved.  Please contact your system administrator or change the permission settings for "
    "this account.";
inline constexpr std::string_view kPermissionDeniedIgnoreHint =
    "If you would like to prevent this error message from being displayed again, please press 'Ignore'.";

class MachineSettings {
public:
    MachineSettings(IRegistry& registry, std::string companyName, SettingsStore& settings, IUiHost& host);

    // Stores `value` as a string value; on a refused step asks Abort/Retry/Ignore (see above).
    void WriteMachineSetting(const std::string& appName, const std::string& section, const std::string& key,
                             const std::string& value);
    // Reads a string value, or `defaultValue` when the key or value is missing. Throws MachineSettingError
    // for an empty argument, a key that cannot be opened, or a value that is not a string.
    std::string ReadMachineSetting(const std::string& appName, const std::string& section,
                                   const std::string& key, const std::string& defaultValue);

    std::string KeyPath(const std::string& appName, const std::string& section) const;
    // The user's stand-in for KeyPath, below HKEY_CURRENT_USER.
    std::string UserKeyPath(const std::string& appName, const std::string& section) const;

private:
    // True when the user wants the step tried again.
    bool AskAfterRefusal();

    IRegistry& registry_;
    std::string companyName_;
    SettingsStore& settings_;
    IUiHost& host_;
};

} // namespace grimsweep
