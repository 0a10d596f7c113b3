// UTF-8 inside the program, UTF-16 at the W functions.
#pragma once

#include <string>
#include <string_view>

namespace grimsweep::win32 {

std::wstring Widen(std::string_view text);
std::string Narrow(std::wstring_view text);

} // namespace grimsweep::win32
