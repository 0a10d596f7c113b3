// Any bytes as a .reg text: the import never crashes, and whatever it writes can be exported again and
// imported into an empty registry with the same result.
#include "fuzz_support.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_system.h"
#include "removal/registry_backup.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace grimsweep;
    sim::SimRegistry registry;
    sim::SimSystem system;
    const std::string text(fuzz::AsText(data, size));
    const auto result = ImportRegistryText(registry, system, text);
    fuzz::Require(result.keysCreated >= 0 && result.valuesSet >= 0 && result.linesSkipped >= 0,
                  "negative counts");
    fuzz::Require(result.formatKnown || (result.keysCreated == 0 && result.valuesSet == 0),
                  "imported from a text of unknown format");
    // Each written value is exported again where every name and text survives the code page; a second
    // import of that export reads without a skipped line.
    std::vector<std::string> keys;
    registry.ListSubKeys(RegistryRoot::CurrentUser, "", keys);
    for (const auto& key : keys) {
        if (const auto exported =
                ExportRegistryEntry(registry, system, RegistryRoot::CurrentUser, key, std::nullopt)) {
            sim::SimRegistry again;
            fuzz::Require(ImportRegistryText(again, system, *exported).Ok(), "an export does not import");
        }
    }
    return 0;
}
