#include "core/brand_values.h"

namespace grimsweep {

std::string BrandValues::VersionText() const {
    return std::to_string(majorVersion) + "." + std::to_string(minorVersion);
}

BrandValues LoadBrandValues(ISystem& system) {
    BrandValues brand;
    const auto resource = system.ReadVersionResource(system.OwnExecutablePath());
    if (!resource) {
        return brand;
    }
    auto value = [&](std::string_view name) {
        auto it = resource->strings.find(std::string(name));
        return it == resource->strings.end() ? std::string() : it->second;
    };
    brand.programName = value(kVersionProductName);
    brand.companyName = value(kVersionCompanyName);
    brand.website = value(kVersionComments);
    brand.majorVersion = resource->fileMajor;
    brand.minorVersion = resource->fileMinor;
    return brand;
}

} // namespace grimsweep
