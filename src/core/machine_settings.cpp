#include "core/machine_settings.h"

#include <optional>

#include "common/text.h"
#include "core/settings_keys.h"

namespace grimsweep {

MachineSettings::MachineSettings(IRegistry& registry, std::string companyName, SettingsStore& settings,
                                 IUiHost& host)
    : registry_(registry), companyName_(std::move(companyName)), settings_(settings), host_(host) {}

std::string MachineSettings::KeyPath(const std::string& appName, const std::string& section) const {
    return "SOFTWARE\\" + Trim(companyName_) + "\\" + Trim(appName) + "\\" + Trim(section);
}

std::string MachineSettings::UserKeyPath(const std::string& appName, const std::string& section) const {
    return "SOFTWARE\\" + Trim(companyName_) + "\\" + Trim(appName) + "\\" +
           std::string(kUserStandInSection) + "\\" + Trim(section);
}

bool MachineSettings::AskAfterRefusal() {
    if (settings_.Read(settings::kSectionSettings, settings::kIgnorePermissionDenied,
                       settings::kIgnorePermissionDeniedDefault) == "1") {
        return false;
    }
    MessageBoxRequest request;
    request.title = std::string(kPermissionDeniedTitle);
    request.text = settings_.ProgramName() + std::string(kPermissionDeniedText) + "\r\n\r\n" +
                   std::string(kPermissionDeniedIgnoreHint);
    request.buttons = MessageBoxButtons::AbortRetryIgnore;
    request.icon = MessageBoxIcon::Critical;
    switch (host_.ShowMessageBox(request)) {
    case MessageBoxAnswer::Retry:
        return true;
    case MessageBoxAnswer::Ignore:
        settings_.Write(settings::kSectionSettings, settings::kIgnorePermissionDenied, "1");
        return false;
    default:
        return false;
    }
}

namespace {

// Creates the key and stores the value under one root.
bool StoreUnder(IRegistry& registry, RegistryRoot root, const std::string& path, const std::string& key,
                const std::string& value) {
    return registry.CreateKey(root, path) == kRegistryOk &&
           registry.SetValue(root, path, key, RegistryValue::String(value)) == kRegistryOk;
}

} // namespace

void MachineSettings::WriteMachineSetting(const std::string& appName, const std::string& section,
                                          const std::string& key, const std::string& value) {
    const std::string path = KeyPath(appName, section);
    // A standard user may not write the machine's key: the same key of the user's own stands in for it,
    // and is read in its place, so that nothing fails again at the next start.
    while (!StoreUnder(registry_, RegistryRoot::LocalMachine, path, key, value) &&
           !StoreUnder(registry_, RegistryRoot::CurrentUser, UserKeyPath(appName, section), key, value)) {
        if (!AskAfterRefusal()) {
            return;
        }
    }
}

std::string MachineSettings::ReadMachineSetting(const std::string& appName, const std::string& section,
                                                const std::string& key, const std::string& defaultValue) {
    if (Trim(appName).empty()) {
        throw MachineSettingError(kErrorEmptyAppName, "AppName may not be empty");
    }
    if (Trim(section).empty()) {
        throw MachineSettingError(kErrorEmptySection, "Section may not be empty");
    }
    if (Trim(key).empty()) {
        throw MachineSettingError(kErrorEmptyKey, "Key may not be empty");
    }
    const std::string path = KeyPath(appName, section);
    const RegistryStatus open = registry_.OpenKey(RegistryRoot::LocalMachine, path, kKeyRead);
    // What a standard user stored in the machine's place (see WriteMachineSetting).
    const auto userValue = [&]() -> std::optional<std::string> {
        RegistryValue stored;
        if (registry_.QueryValue(RegistryRoot::CurrentUser, UserKeyPath(appName, section), key, kKeyRead,
                                 stored) == kRegistryOk &&
            stored.type == RegistryValueType::String) {
            return stored.text;
        }
        return std::nullopt;
    };
    if (open == kRegistryNotFound) {
        return userValue().value_or(defaultValue);
    }
    if (open != kRegistryOk) {
        if (const auto stored = userValue()) {
            return *stored;
        }
        throw MachineSettingError(kErrorCannotOpenSection, "Could not open registry section");
    }
    RegistryValue value;
    const RegistryStatus query = registry_.QueryValue(RegistryRoot::LocalMachine, path, key, kKeyRead, value);
    if (query == kRegistryNotFound) {
        return userValue().value_or(defaultValue);
    }
    if (query != kRegistryOk) {
        throw MachineSettingError(kErrorCannotOpenSection, "Could not open registry section");
    }
    if (value.type != RegistryValueType::String) {
        throw MachineSettingError(kErrorNotAString, "Registry data not a string");
    }
    return value.text;
}

} // namespace grimsweep
