// The definitions' process-wide state, held by the program object: the safe list, the exclusion list
// and the definition counts.
#pragma once

#include "definitions/definition_status.h"
#include "definitions/exclusion_list.h"
#include "definitions/safe_list.h"

namespace grimsweep {

struct DefinitionState {
    SafeList safeList;
    ExclusionList exclusions;
    DefinitionCounts counts;
};

} // namespace grimsweep
