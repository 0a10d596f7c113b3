// Dates of the definition service and of date.dat, in the US form the service speaks:
// "9/1/2006 4:00:00 PM", or the date alone for midnight ("3/16/2006").
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/system.h"

namespace grimsweep {

// An answer of the service made ready to parse: trimmed, every tab, CR and LF removed, and cut right
// after the first "PM" (any case), or failing that right after the first "AM".
std::string CleanServiceDate(std::string_view answer);

// "month/day/year", optionally followed by "hours:minutes[:seconds]" and AM or PM (any case; without
// them the hours run 0 to 23), blanks around. Nothing for any other text or an impossible date.
std::optional<LocalDateTime> ParseUsDateTime(std::string_view text);

// The US form: the date alone at midnight, else with the time and AM or PM.
std::string UsDateTimeText(const LocalDateTime& when);

// Whether `a` comes after `b` (to the second).
bool Later(const LocalDateTime& a, const LocalDateTime& b);

} // namespace grimsweep
