// The per-user settings store: text values addressed by application name (always the program name),
// section and key, kept under HKEY_CURRENT_USER\Software\<company>\<program>\<section>. A read supplies
// a default; nothing is cached, every read goes to the registry; a write that fails is ignored.
#pragma once

#include <string>
#include <string_view>

#include "platform/registry.h"

namespace grimsweep {

class SettingsStore {
public:
    SettingsStore(IRegistry& registry, std::string companyName, std::string programName);

    std::string Read(std::string_view section, std::string_view key, std::string_view defaultValue) const;
    void Write(std::string_view section, std::string_view key, std::string_view value);

    // Conversions for the three encodings.
    // A check-box value read back as a number ("1" -> 1); text that is not a number reads as 0.
    int ReadNumber(std::string_view section, std::string_view key, std::string_view defaultValue) const;
    // A truth value read back: "True"/"False" in any case, or a number (non-zero is true).
    bool ReadTruth(std::string_view section, std::string_view key, std::string_view defaultValue) const;
    void WriteTruth(std::string_view section, std::string_view key, bool value);
    void WriteCheck(std::string_view section, std::string_view key, int checkValue);

    const std::string& ProgramName() const { return programName_; }
    // The registry key below HKEY_CURRENT_USER that holds a section.
    std::string SectionPath(std::string_view section) const;

private:
    IRegistry& registry_;
    std::string companyName_;
    std::string programName_;
};

// Text to truth value as the program converts it: "True"/"False" ignoring case and blanks, or a number.
bool TextToTruth(std::string_view text);
// Text to number as the program converts it: leading blanks skipped, an optional sign, digits; 0 when the
// text does not start with a number.
int TextToNumber(std::string_view text);
std::string TruthText(bool value);

} // namespace grimsweep
