// Simulated libraries: which paths load and which exports each has.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "common/text.h"
#include "platform/libraries.h"

namespace grimsweep::sim {

class SimLibraries : public ILibraries {
public:
    LibraryProbe ProbeExport(const std::string& libraryPath, const std::string& exportName) override {
        probes.push_back(libraryPath + "!" + exportName);
        auto it = exports.find(ToUpper(libraryPath));
        if (it == exports.end()) {
            return {};
        }
        return {true, it->second.count(exportName) != 0};
    }

    std::map<std::string, std::set<std::string>> exports; // upper-case path -> export names
    std::vector<std::string> probes;
};

} // namespace grimsweep::sim
