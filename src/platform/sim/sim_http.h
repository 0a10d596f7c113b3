// Simulated HTTP: bodies by address; any other address cannot be opened.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/http.h"

namespace grimsweep::sim {

class SimHttp : public IHttp {
public:
    std::optional<std::string> Get(const std::string& url, std::size_t chunkSize,
                                   const std::function<void(std::size_t)>& onChunk) override;

    std::map<std::string, std::string> bodies; // url -> body
    std::vector<std::string> requests;         // every url asked for, in order
};

} // namespace grimsweep::sim
