// The program's value in the machine-wide Run key, which starts it at every user's logon; a user who may
// not write there (a standard user) gets the same value in the Run key of their own.
#pragma once

#include <string>

#include "platform/registry.h"

namespace grimsweep {

inline constexpr std::string_view kRunKeyPath = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

// Value name: the executable's file name without extension; data: the program folder, a backslash and
// that same name (no extension appended), in quotes.
struct RunKeyEntry {
    std::string valueName;
    std::string data;
};
RunKeyEntry RunKeyEntryFor(const std::string& executablePath);

// Creates or replaces the value, in the machine's Run key or else the user's; false when neither could
// be written.
bool WriteRunAtStartup(IRegistry& registry, const std::string& executablePath);
// Removes the value from both Run keys; true when neither holds it any more. The machine's value, which
// the installer may have written for every user, stays for a user who may not change it.
bool RemoveRunAtStartup(IRegistry& registry, const std::string& executablePath);
// Whether either Run key holds the program's value.
bool RunAtStartupPresent(IRegistry& registry, const std::string& executablePath);

// "gscan run-at-logon off": removes the value of grimsweep.exe beside it, started as administrator by a
// user's program when the machine's value is to go.
inline constexpr std::string_view kRunAtLogonCommand = "run-at-logon";

} // namespace grimsweep
