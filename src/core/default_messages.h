// The default (English) message catalogue.
#pragma once

#include <string_view>
#include <vector>

namespace grimsweep {

struct DefaultMessage {
    std::string_view key;
    std::string_view text;
};

const std::vector<DefaultMessage>& DefaultMessages();

} // namespace grimsweep
