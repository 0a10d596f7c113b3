// Where the program's services are: the definition service (Live Update), the collection service (the
// anonymous data submission) and the language service. Read from Grimsweep.ini beside the executable:
//   [Services]
//   Definitions=http://127.0.0.1:8080
//   Collection=http://127.0.0.1:8080
//   Languages=http://127.0.0.1:8080
//   DefinitionKey=04...   (the definition service's public key in hex; updates are checked when it is set)
// A missing file, section or key gives the compiled-in address.
#pragma once

#include <string>
#include <string_view>

namespace grimsweep {

class Context;

inline constexpr std::string_view kServicesFileName = "Grimsweep.ini";
inline constexpr std::string_view kDefaultServiceAddress = "http://127.0.0.1:8080";

struct ServiceAddresses {
    std::string definitions{kDefaultServiceAddress};
    std::string collection{kDefaultServiceAddress};
    std::string languages{kDefaultServiceAddress};
    // Empty: updates are applied unverified, as the service's protocol has it.
    std::string definitionKey;
};

// The addresses in an INI text; keys and the section name compare without case; a trailing "/" is
// dropped.
ServiceAddresses ParseServiceAddresses(std::string_view iniText);
ServiceAddresses ReadServiceAddresses(Context& context);

} // namespace grimsweep
