// The real system calls: the built executable's version resource, the single-instance lock, the code page.
#include "platform/win32/win32_system.h"

#include <gtest/gtest.h>

#include "common/text.h"
#include "core/brand_values.h"
#include "platform/win32/win32_file_system.h"

namespace grimsweep::win32 {
namespace {

std::string BesideThisProgram(Win32System& system, const std::string& name) {
    const std::string own = system.OwnExecutablePath();
    return own.substr(0, own.rfind('\\') + 1) + name;
}

TEST(Win32System, BrandValuesComeFromTheBuiltProgramsResource) {
    Win32System system;
    const auto resource = system.ReadVersionResource(BesideThisProgram(system, GRIMSWEEP_EXE_NAME));
    ASSERT_TRUE(resource.has_value());
    EXPECT_EQ(resource->strings.at("ProductName"), "Grimsweep");
    EXPECT_EQ(resource->strings.at("CompanyName"), "Lanternfish Software");
    EXPECT_EQ(resource->strings.at("Comments"), "www.lanternfish-software.example");
    EXPECT_EQ(resource->fileMajor, 3);
    EXPECT_EQ(resource->fileMinor, 1);
    // A file without a version resource gives nothing.
    EXPECT_FALSE(system.ReadVersionResource(BesideThisProgram(system, "no-such-file.exe")).has_value());
}

TEST(Win32System, BrandLoaderReadsTheRunningExecutable) {
    // Run from the test program, whose own resource is empty: the loader must cope.
    Win32System system;
    const BrandValues brand = LoadBrandValues(system);
    EXPECT_TRUE(brand.programName.empty());
    EXPECT_TRUE(
        EqualsIgnoreCase(AfterLastBackslash(system.OwnExecutablePath()), "grimsweep_win32_tests.exe"));
}

TEST(Win32System, SingleInstanceLockIsHeldUntilTheHolderEnds) {
    const std::string name = "GrimsweepTestInstance";
    {
        Win32System first;
        Win32System second;
        EXPECT_TRUE(first.AcquireSingleInstanceLock(name));
        EXPECT_TRUE(first.AcquireSingleInstanceLock(name)); // the holder asking again
        EXPECT_FALSE(second.AcquireSingleInstanceLock(name));
    }
    Win32System later;
    EXPECT_TRUE(later.AcquireSingleInstanceLock(name));
}

TEST(Win32System, VersionFoldersTimeAndCodePage) {
    Win32System system;
    Win32FileSystem files;
    EXPECT_EQ(system.GetOsVersion().platformId, kPlatformNt);
    EXPECT_GE(system.GetOsVersion().major, 5u);
    EXPECT_TRUE(files.FolderExists(system.SystemFolder())) << system.SystemFolder();
    const LocalDateTime now = system.Now();
    EXPECT_GE(now.year, 2020);
    const std::string shown = system.FormatDateTimeForDisplay({2006, 3, 16, 13, 5, 9, 4});
    EXPECT_NE(shown.find("2006"), std::string::npos) << shown;
    EXPECT_NE(shown.find("05"), std::string::npos) << shown;
    // The prefix's code page is Windows-1252: one byte per Western character.
    EXPECT_EQ(system.Utf8ToCodePage("caf\xC3\xA9"), "caf\xE9");
    EXPECT_EQ(system.CodePageToUtf8("caf\xE9"), "caf\xC3\xA9");
    EXPECT_EQ(system.CodePageToUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
}

} // namespace
} // namespace grimsweep::win32
