// The payload of the collection query, shared by the program that sends it and by the local collection
// service that reads it back: scrambled names joined by "|". A scrambled name may hold any byte but 0,
// "|" included (a plain "u" scrambles to it), so each name carries its "%" and "|" escaped as "%25" and
// "%7C"; every other byte stays as it is. The whole payload is then percent-encoded as a query value.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace grimsweep {

inline constexpr char kPayloadSeparator = '|';

// The names, each escaped, joined by the separator (no trailing separator).
std::string JoinSubmissionNames(const std::vector<std::string>& scrambledNames);

// The names of a payload: split at every separator, each piece's escapes undone. A payload ending in the
// separator (the form of a manual submission) has no empty name after it. Nothing when a piece holds a
// "%" without two hex digits after it.
std::optional<std::vector<std::string>> SplitSubmissionPayload(std::string_view payload);

} // namespace grimsweep
