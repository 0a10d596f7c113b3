// The program's value in the machine-wide Run key, which starts it at the user's logon.
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

// Creates or replaces the value; a refused write is ignored.
void WriteRunAtStartup(IRegistry& registry, const std::string& executablePath);
void RemoveRunAtStartup(IRegistry& registry, const std::string& executablePath);

} // namespace grimsweep
