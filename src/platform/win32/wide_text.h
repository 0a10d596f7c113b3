// UTF-8 inside the program, UTF-16 at the W functions. The code page defaults to UTF-8; the system's
// 8-bit code page (0, CP_ACP) serves the text files.
#pragma once

#include <string>
#include <string_view>

namespace grimsweep::win32 {

inline constexpr unsigned kUtf8CodePage = 65001;

std::wstring Widen(std::string_view text, unsigned codePage = kUtf8CodePage);
std::string Narrow(std::wstring_view text, unsigned codePage = kUtf8CodePage);

} // namespace grimsweep::win32
