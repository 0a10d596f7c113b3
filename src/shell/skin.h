// The skin: three colours that every window of the program takes when it loads. The built-in skin is a
// quiet light theme; the colours are 0x00BBGGRR as the window system writes them.
#pragma once

#include <cstdint>

#include "platform/system.h"
#include "ui/form.h"

namespace grimsweep {

struct Skin {
    std::uint32_t first = 0x00FAF6F2;  // buttons, lists and text boxes: back colour
    std::uint32_t second = 0x00302820; // lists and text boxes: fore colour
    std::uint32_t third = 0x00F0E6DC;  // picture boxes: back colour
    // Windows Vista and later: each skinned window first gets its region reset to its whole rectangle.
    bool resetRegion = false;
};

// Gives every button, list and text control and every picture box of the window its skin colours, after
// resetting the window region where the skin asks for it.
void ApplySkin(ui::Form& window, const Skin& skin);

// Windows Vista and later reset the window region before skinning.
bool NeedsRegionReset(const OsVersion& version);

} // namespace grimsweep
