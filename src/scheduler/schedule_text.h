// The stored text of the schedule's time and date: one fixed form, "2026-12-09 12:00:00", that the
// program writes and reads back to the same second whatever the user's regional settings are.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/system.h"

namespace grimsweep {

// What a picker that holds no value stores.
inline constexpr std::string_view kNoScheduleValue = "Null";

// "yyyy-MM-dd HH:mm:ss", or "Null" for no value.
std::string ScheduleText(const std::optional<LocalDateTime>& when);

// The value of a text in that form, with its weekday; nothing for "Null", any other form or an
// impossible date or time.
std::optional<LocalDateTime> ParseScheduleText(std::string_view text);

} // namespace grimsweep
