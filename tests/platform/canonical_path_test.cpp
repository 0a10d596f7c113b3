#include <gtest/gtest.h>

#include "../definitions/definitions_fixture.h"
#include "platform/path_spellings.h"

namespace grimsweep {
namespace {

class CanonicalPathTest : public DefinitionsTest {};

// The simulated machine gives the answers the Wine test reads off the real calls.
TEST_F(CanonicalPathTest, EverySpellingOfAPlaceComesToTheFormTheRealCallsGive) {
    sim.files.PutFolder("C:\\windows\\system32\\drivers");
    sim.files.PutFolder("C:\\windows\\fonts");
    sim.files.PutFolder("C:\\Program Files");
    sim.files.AddShortName("C:\\Program Files", "PROGRA~1");
    sim.files.PutFolderLink(std::string(kLinkedWindows), "C:\\windows");
    const std::string profile = sim.shell.SpecialFolderPath(40).value_or("");
    sim.files.PutFolder(profile);
    const ProtectedLocations protection(context);

    ExpectSpellings(sim.files, protection, PathSpellings("C:\\PROGRA~1", profile));
}

} // namespace
} // namespace grimsweep
