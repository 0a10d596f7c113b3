#include "update/service_addresses.h"

#include "common/text.h"
#include "core/context.h"

namespace grimsweep {

ServiceAddresses ParseServiceAddresses(std::string_view iniText) {
    ServiceAddresses addresses;
    bool inServices = false;
    for (const std::string& raw : Split(iniText, "\n")) {
        const std::string line = Trim(raw.size() && raw.back() == '\r' ? raw.substr(0, raw.size() - 1) : raw);
        if (line.empty() || line[0] == ';') {
            continue;
        }
        if (line.front() == '[') {
            inServices = EqualsIgnoreCase(line, "[Services]");
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!inServices || equals == std::string::npos) {
            continue;
        }
        const std::string key = Trim(line.substr(0, equals));
        std::string value = Trim(line.substr(equals + 1));
        while (!value.empty() && value.back() == '/') {
            value.pop_back();
        }
        if (value.empty()) {
            continue;
        }
        if (EqualsIgnoreCase(key, "Definitions")) {
            addresses.definitions = value;
        } else if (EqualsIgnoreCase(key, "Collection")) {
            addresses.collection = value;
        } else if (EqualsIgnoreCase(key, "Languages")) {
            addresses.languages = value;
        } else if (EqualsIgnoreCase(key, "DefinitionKey")) {
            addresses.definitionKey = Trim(line.substr(equals + 1));
        }
    }
    return addresses;
}

ServiceAddresses ReadServiceAddresses(Context& context) {
    const auto text = context.machine.files.ReadFile(context.ApplicationFile(kServicesFileName));
    return text ? ParseServiceAddresses(*text) : ServiceAddresses{};
}

} // namespace grimsweep
