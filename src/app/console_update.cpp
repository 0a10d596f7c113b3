#include "app/console_update.h"

#include "definitions/definition_status.h"
#include "update/definition_service.h"
#include "update/service_addresses.h"

namespace grimsweep {

int RunConsoleUpdate(Context& context, std::ostream& out) {
    const ServiceAddresses addresses = ReadServiceAddresses(context);
    out << "Definition service: " << addresses.definitions << "\n";
    out << (addresses.definitionKey.empty()
                ? "Updates are not verified: Grimsweep.ini sets no DefinitionKey.\n"
                : "Updates must carry the definition service's signature.\n");
    const UpdateOutcome outcome =
        FetchAndApplyUpdates(context, addresses.definitions, nullptr, addresses.definitionKey);
    if (outcome.failure == UpdateFailure::Unreachable) {
        out << "The definition service could not be reached; nothing was changed.\n" << std::flush;
        return 2;
    }
    if (outcome.failure == UpdateFailure::BadAnswer) {
        out << "The definition service's answer was not whole (cut, refused or no date); nothing was "
               "changed.\n"
            << std::flush;
        return 2;
    }
    if (outcome.failure == UpdateFailure::Unverified) {
        out << "The definition service's answer could not be verified (signature missing, wrong, or made for "
               "another date); nothing was changed.\n"
            << std::flush;
        return 2;
    }
    if (outcome.failure == UpdateFailure::NotSaved) {
        out << "The new definitions could not be saved (a definition file could not be replaced); nothing "
               "was "
               "changed.\n"
            << std::flush;
        return 2;
    }
    out << "Changes: " << outcome.changes << "\n";
    out << "Definitions date: "
        << ReadDefinitionsDate(context.machine.files, context.machine.system, context.dataFolder) << " PST\n"
        << std::flush;
    return 0;
}

} // namespace grimsweep
