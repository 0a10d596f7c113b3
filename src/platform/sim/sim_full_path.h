// How the simulated machine forms a full path, following what GetFullPathNameW does under Wine: "/" as
// "\", repeated backslashes as one, "." and ".." resolved, one trailing dot dropped from each inner
// element, trailing dots and blanks dropped from the last, and a reserved device name in the last element
// answered as "\\.\NAME". The simulated files are looked up in this form too, as the real ones are.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace grimsweep::sim {

std::optional<std::string> SimFullPathName(std::string_view path);

} // namespace grimsweep::sim
