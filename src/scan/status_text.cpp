#include "scan/status_text.h"

#include "common/text.h"

namespace grimsweep {

std::string MaskStatusText(std::string_view text) {
    std::string masked(text);
    for (const auto word : kMaskedWords) {
        // Most status texts hold none of the words: look before copying.
        if (FindIgnoreCase(masked, word) != std::string::npos) {
            masked = ReplaceAllIgnoreCase(masked, word, "");
        }
    }
    return masked;
}

} // namespace grimsweep
