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

// A message that continues a sentence another text begins ("submitted.  Thank you!" after a file name):
// its English text starts in lower case. Such a message keeps the case its language gives it; every
// other message and window item starts with a capital.
bool ContinuesSentence(std::string_view key);

} // namespace grimsweep
