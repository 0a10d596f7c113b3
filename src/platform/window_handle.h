#pragma once

#include <cstdint>

namespace grimsweep {

// A window as the system names it (an HWND), carried through the platform-neutral code as a number.
using WindowHandle = std::uintptr_t;

} // namespace grimsweep
