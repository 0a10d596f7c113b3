#include "report/submission_payload.h"

#include "common/percent_encoding.h"
#include "common/text.h"

namespace grimsweep {

namespace {

std::string EscapeName(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    for (const char c : name) {
        if (c == '%') {
            out += "%25";
        } else if (c == kPayloadSeparator) {
            out += "%7C";
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

std::string JoinSubmissionNames(const std::vector<std::string>& scrambledNames) {
    std::string payload;
    for (std::size_t i = 0; i < scrambledNames.size(); ++i) {
        if (i > 0) {
            payload += kPayloadSeparator;
        }
        payload += EscapeName(scrambledNames[i]);
    }
    return payload;
}

std::optional<std::vector<std::string>> SplitSubmissionPayload(std::string_view payload) {
    std::vector<std::string> pieces = Split(payload, std::string_view(&kPayloadSeparator, 1));
    if (pieces.size() > 1 && pieces.back().empty()) {
        pieces.pop_back();
    }
    std::vector<std::string> names;
    names.reserve(pieces.size());
    for (const std::string& piece : pieces) {
        auto name = PercentDecode(piece);
        if (!name) {
            return std::nullopt;
        }
        names.push_back(std::move(*name));
    }
    return names;
}

} // namespace grimsweep
