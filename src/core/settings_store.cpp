#include "core/settings_store.h"

#include <charconv>

#include "common/text.h"
#include "core/settings_keys.h"

namespace grimsweep {

SettingsStore::SettingsStore(IRegistry& registry, std::string companyName, std::string programName)
    : registry_(registry), companyName_(std::move(companyName)), programName_(std::move(programName)) {}

std::string SettingsStore::SectionPath(std::string_view section) const {
    return "Software\\" + companyName_ + "\\" + programName_ + "\\" + std::string(section);
}

std::string SettingsStore::Read(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const {
    RegistryValue value;
    if (registry_.QueryValue(RegistryRoot::CurrentUser, SectionPath(section), std::string(key),
                             kKeyQueryValue, value) != kRegistryOk) {
        return std::string(defaultValue);
    }
    switch (value.type) {
    case RegistryValueType::String:
    case RegistryValueType::ExpandString:
        return value.text;
    case RegistryValueType::Dword:
        return std::to_string(value.number);
    default:
        return std::string(defaultValue);
    }
}

void SettingsStore::Write(std::string_view section, std::string_view key, std::string_view value) {
    const std::string path = SectionPath(section);
    if (registry_.CreateKey(RegistryRoot::CurrentUser, path) != kRegistryOk) {
        return;
    }
    registry_.SetValue(RegistryRoot::CurrentUser, path, std::string(key),
                       RegistryValue::String(std::string(value)));
}

int SettingsStore::ReadNumber(std::string_view section, std::string_view key,
                              std::string_view defaultValue) const {
    return TextToNumber(Read(section, key, defaultValue));
}

bool SettingsStore::ReadTruth(std::string_view section, std::string_view key,
                              std::string_view defaultValue) const {
    return TextToTruth(Read(section, key, defaultValue));
}

void SettingsStore::WriteTruth(std::string_view section, std::string_view key, bool value) {
    Write(section, key, TruthText(value));
}

void SettingsStore::WriteCheck(std::string_view section, std::string_view key, int checkValue) {
    Write(section, key, std::to_string(checkValue));
}

bool TextToTruth(std::string_view text) {
    const std::string trimmed = Trim(text);
    if (EqualsIgnoreCase(trimmed, settings::kTrue)) {
        return true;
    }
    if (EqualsIgnoreCase(trimmed, settings::kFalse)) {
        return false;
    }
    return TextToNumber(trimmed) != 0;
}

int TextToNumber(std::string_view text) {
    const std::string trimmed = Trim(text);
    std::string_view digits = trimmed;
    if (!digits.empty() && digits[0] == '+') {
        digits.remove_prefix(1);
    }
    int value = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return value;
}

std::string TruthText(bool value) {
    return std::string(value ? settings::kTrue : settings::kFalse);
}

} // namespace grimsweep
