#include "shields/registry_text.h"

#include "core/settings_store.h"
#include "scan/registry_scan.h"

namespace grimsweep {

RegistryTextRead ReadRegistryString(IRegistry& registry, RegistryRoot root, const std::string& keyPath,
                                    const std::string& valueName, std::string& text) {
    RegistryValue value;
    // The shield reads the page from a key it can also write back to: one it could only read would raise
    // an alert whose restore must fail.
    const RegistryStatus status =
        QueryRegistryValue(registry, root, keyPath, valueName, value, kKeyFullAccess);
    if (status == kRegistryUnreadType) {
        return RegistryTextRead::Read;
    }
    if (status != kRegistryOk) {
        text.clear();
        return status == kRegistryNotFound ? RegistryTextRead::Missing : RegistryTextRead::Unreadable;
    }
    text = value.type == RegistryValueType::Dword ? std::to_string(value.number) : std::move(value.text);
    return RegistryTextRead::Read;
}

void WriteRegistryValue(IRegistry& registry, const std::string& keyPath, const std::string& valueName,
                        const std::string& value, RegistryValueType type) {
    if (registry.OpenKey(RegistryRoot::CurrentUser, keyPath, kKeyFullAccess) == kRegistryNotFound) {
        registry.CreateKey(RegistryRoot::CurrentUser, keyPath);
    }
    if (registry.OpenKey(RegistryRoot::CurrentUser, keyPath, kKeyFullAccess) != kRegistryOk) {
        return;
    }
    const RegistryValue data = type == RegistryValueType::Dword
                                   ? RegistryValue::Dword(static_cast<std::uint32_t>(TextToNumber(value)))
                                   : RegistryValue::String(value);
    registry.SetValue(RegistryRoot::CurrentUser, keyPath, valueName, data);
}

} // namespace grimsweep
