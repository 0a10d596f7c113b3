// The small icons a list row can show (ListRow::smallIcon): the same numbers in every list of the
// program, and 0 for none.
#pragma once

namespace grimsweep::ui {

inline constexpr int kIconCookie = 1;
inline constexpr int kIconRegistry = 2;
inline constexpr int kIconFile = 3; // a file or a program
inline constexpr int kIconFolder = 4;
inline constexpr int kIconExcluded = 5;
inline constexpr int kListIconCount = 5;

} // namespace grimsweep::ui
