// Checks of the definition files for the definition author's tool: which lines the program would not
// take as the record their file expects.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "definitions/definition_files.h"

namespace grimsweep {

struct DefinitionProblem {
    int lineNumber = 0; // from 1
    std::string message;
};

// Why a plain line is malformed for its file, or the empty text when it is a good record. Path macros
// are expanded against a stand-in machine that has every folder except the Recycle Bin.
std::string DefinitionLineProblem(DefinitionKind kind, std::string_view plainLine);

// Every malformed line of a stored (encoded) definition file.
std::vector<DefinitionProblem> CheckDefinitionFile(DefinitionKind kind, std::string_view storedBytes);

} // namespace grimsweep
