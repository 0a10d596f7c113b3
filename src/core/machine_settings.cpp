#include "core/machine_settings.h"

#include "common/text.h"
#include "core/settings_keys.h"

namespace grimsweep {

MachineSettings::MachineSettings(IRegistry& registry, std::string companyName, SettingsStore& settings,
                                 IUiHost& host)
    : registry_(registry), companyName_(std::move(companyName)), settings_(settings), host_(host) {}

std::string MachineSettings::KeyPath(const std::string& appName, const std::string& section) const {
    return "SOFTWARE\\" + Trim(companyName_) + "\\" + Trim(appName) + "\\" + Trim(section);
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

void MachineSettings::WriteMachineSetting(const std::string& appName, const std::string& section,
                                          const std::string& key, const std::string& value) {
    const std::string path = KeyPath(appName, section);
    while (registry_.CreateKey(RegistryRoot::LocalMachine, path) != kRegistryOk) {
        if (!AskAfterRefusal()) {
            return;
        }
    }
    while (registry_.SetValue(RegistryRoot::LocalMachine, path, key, RegistryValue::String(value)) !=
           kRegistryOk) {
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
    if (open == kRegistryNotFound) {
        return defaultValue;
    }
    if (open != kRegistryOk) {
        throw MachineSettingError(kErrorCannotOpenSection, "Could not open registry section");
    }
    RegistryValue value;
    const RegistryStatus query = registry_.QueryValue(RegistryRoot::LocalMachine, path, key, kKeyRead, value);
    if (query == kRegistryNotFound) {
        return defaultValue;
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
