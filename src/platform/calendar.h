// The Gregorian calendar for dates the program reads from text: month lengths and weekdays.
#pragma once

namespace grimsweep {

bool IsLeapYear(int year);
// Days of a month (1 to 12) of that year.
int DaysInMonth(int year, int month);
// 0 Sunday .. 6 Saturday, as LocalDateTime counts them.
int DayOfWeek(int year, int month, int day);

} // namespace grimsweep
