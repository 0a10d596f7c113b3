// The brand values, read from the running executable's version resource: one build can carry any brand.
#pragma once

#include <string>

#include "platform/system.h"

namespace grimsweep {

struct BrandValues {
    std::string programName; // ProductName: the settings store's application name, window captions
    std::string companyName; // CompanyName
    std::string website;     // Comments: a bare domain, without scheme
    int majorVersion = 0;
    int minorVersion = 0;
    bool skinningEnabled = true;

    // "3.1"
    std::string VersionText() const;
};

// The group icon of every window of the program, in the executable.
inline constexpr std::string_view kWindowIconResource = "AAA";

inline constexpr std::string_view kVersionProductName = "ProductName";
inline constexpr std::string_view kVersionCompanyName = "CompanyName";
inline constexpr std::string_view kVersionComments = "Comments";

// Reads the brand values of the running executable; values missing from the resource are empty.
BrandValues LoadBrandValues(ISystem& system);

} // namespace grimsweep
