#include "core/brand_values.h"

#include <gtest/gtest.h>

#include "common/text.h"
#include "platform/sim/sim_system.h"

namespace grimsweep {
namespace {

TEST(BrandValues, ComeFromTheRunningExecutablesVersionResource) {
    sim::SimSystem system;
    system.executablePath = "D:\\Other\\renamed.exe";
    VersionResource resource;
    resource.strings = {
        {"ProductName", "Gloomsweep"}, {"CompanyName", "Example Co"}, {"Comments", "example.test"}};
    resource.fileMajor = 4;
    resource.fileMinor = 12;
    system.versionResources[ToUpper(system.executablePath)] = resource;

    const BrandValues brand = LoadBrandValues(system);
    EXPECT_EQ(brand.programName, "Gloomsweep");
    EXPECT_EQ(brand.companyName, "Example Co");
    EXPECT_EQ(brand.website, "example.test");
    EXPECT_EQ(brand.VersionText(), "4.12");
    EXPECT_TRUE(brand.skinningEnabled);
}

TEST(BrandValues, MissingResourceGivesEmptyValues) {
    sim::SimSystem system;
    system.executablePath = "C:\\nowhere.exe";
    const BrandValues brand = LoadBrandValues(system);
    EXPECT_EQ(brand.programName, "");
    EXPECT_EQ(brand.VersionText(), "0.0");
}

} // namespace
} // namespace grimsweep
