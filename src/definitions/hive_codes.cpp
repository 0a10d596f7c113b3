#include "definitions/hive_codes.h"

#include <array>
#include <charconv>
#include <cstdint>

#include "common/text.h"

namespace grimsweep {

namespace {

struct HiveRow {
    RegistryRoot root;
    std::string_view name;
};

constexpr std::array<HiveRow, 6> kHives = {{
    {RegistryRoot::ClassesRoot, "HKEY_CLASSES_ROOT"},
    {RegistryRoot::CurrentUser, "HKEY_CURRENT_USER"},
    {RegistryRoot::LocalMachine, "HKEY_LOCAL_MACHINE"},
    {RegistryRoot::Users, "HKEY_USERS"},
    {RegistryRoot::CurrentConfig, "HKEY_CURRENT_CONFIG"},
    {RegistryRoot::DynData, "HKEY_DYN_DATA"},
}};

int CodeNumber(std::string_view code) {
    const std::string trimmed = Trim(code);
    std::string_view digits = trimmed;
    if (!digits.empty() && digits.front() == '+') {
        digits.remove_prefix(1);
    }
    std::int16_t number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) {
        return 0;
    }
    return number;
}

} // namespace

Hive HiveFromCode(std::string_view code) {
    const int number = CodeNumber(code);
    if (number < 0 || number >= static_cast<int>(kHives.size())) {
        return {};
    }
    const auto& row = kHives[static_cast<std::size_t>(number)];
    return {row.root, std::string(row.name)};
}

std::string_view RegistryRootName(RegistryRoot root) {
    for (const auto& row : kHives) {
        if (row.root == root) {
            return row.name;
        }
    }
    return {};
}

std::optional<RegistryRoot> RegistryRootFromName(std::string_view name) {
    for (const auto& row : kHives) {
        if (EqualsIgnoreCase(row.name, name)) {
            return row.root;
        }
    }
    return std::nullopt;
}

} // namespace grimsweep
