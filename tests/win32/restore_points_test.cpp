// System Restore under Wine, which has no working service: requests are answered as not accepted, and
// nothing is left open or crashes.
#include "platform/win32/win32_restore_points.h"

#include <gtest/gtest.h>

namespace grimsweep::win32 {
namespace {

TEST(Win32RestorePoints, WineRefusesBeginAndEndQuietly) {
    Win32RestorePoints restorePoints;
    const RestorePointResult begun = restorePoints.Begin(
        "Grimsweep Restore Point 09/12/2026 03:00:00 and far more text than the field holds", 6);
    EXPECT_FALSE(begun.accepted);
    EXPECT_FALSE(restorePoints.End(begun.sequenceNumber).accepted);
    EXPECT_FALSE(restorePoints.End(0).accepted);
}

TEST(Win32RestorePoints, DescriptionsAreCutToTheField) {
    EXPECT_EQ(RestorePointDescription("Grimsweep Restore Point 09/12/2026 03:00:00"),
              L"Grimsweep Restore Point 09/12/2026 03:00:00");
    EXPECT_EQ(RestorePointDescription(std::string(63, 'a')), std::wstring(63, L'a'));
    EXPECT_EQ(RestorePointDescription(std::string(200, 'a')), std::wstring(63, L'a'));
    // A character outside the basic plane across the cut is dropped whole.
    EXPECT_EQ(RestorePointDescription(std::string(62, 'a') + "\xF0\x9F\x98\x80"), std::wstring(62, L'a'));
    EXPECT_EQ(RestorePointDescription(std::string(61, 'a') + "\xF0\x9F\x98\x80"),
              std::wstring(61, L'a') + L"\U0001F600");
}

} // namespace
} // namespace grimsweep::win32
