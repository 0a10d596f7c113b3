// Which systems offer restore points, and the one restore point that may be open at a time.
#include <gtest/gtest.h>

#include "platform/sim/sim_restore_points.h"
#include "removal/restore_point.h"

namespace grimsweep {
namespace {

TEST(RestorePoint, OnlyMeXpAndLaterNtSystemsOfferThem) {
    EXPECT_TRUE(SupportsRestorePoints({kPlatformWin9x, 4, 90, 0}));
    EXPECT_FALSE(SupportsRestorePoints({kPlatformWin9x, 4, 10, 0}));
    EXPECT_FALSE(SupportsRestorePoints({kPlatformNt, 5, 0, 2195}));
    EXPECT_TRUE(SupportsRestorePoints({kPlatformNt, 5, 1, 2600}));
    EXPECT_FALSE(SupportsRestorePoints({kPlatformNt, 5, 2, 3790}));
    EXPECT_TRUE(SupportsRestorePoints({kPlatformNt, 6, 0, 6000}));
    EXPECT_TRUE(SupportsRestorePoints({kPlatformNt, 10, 0, 19045}));
    EXPECT_FALSE(SupportsRestorePoints({kPlatformNt, 4, 0, 1381}));
}

TEST(RestorePoint, ASecondBeginRaisesTheErrorAndLeavesTheFirstOpenUntilItEnds) {
    sim::SimRestorePoints service;
    RestorePoint point(service);
    EXPECT_TRUE(point.Begin("first", 6));
    EXPECT_EQ(point.Open(), 1);
    try {
        point.Begin("second", 6);
        FAIL() << "a second begin must raise";
    } catch (const RestorePointError& error) {
        EXPECT_EQ(error.Number(), 100001);
        EXPECT_STREQ(error.what(), "You must End the previous restore point first.");
    }
    EXPECT_EQ(service.begun, (std::vector<std::string>{"first"}));
    EXPECT_EQ(point.Open(), 1);
    EXPECT_TRUE(point.End());
    EXPECT_EQ(service.ended, (std::vector<std::int64_t>{1}));
    EXPECT_TRUE(point.Begin("third", 6)) << "accepted again after the end";
}

TEST(RestorePoint, ARefusedBeginLeavesNothingOpenAndTheEndSendsZero) {
    sim::SimRestorePoints service;
    service.accept = false;
    RestorePoint point(service);
    EXPECT_FALSE(point.Begin(std::string(80, 'x') + "\xC3\xA9", 6));
    EXPECT_EQ(service.begun.at(0), std::string(63, 'x')) << "cut to the field's 63 characters";
    EXPECT_EQ(point.Open(), 0);
    EXPECT_FALSE(point.End());
    EXPECT_EQ(service.ended, (std::vector<std::int64_t>{0}));
    service.accept = true;
    EXPECT_TRUE(point.Begin(std::string(62, 'x') + "\xC3\xA9\xC3\xA9", 6));
    EXPECT_EQ(service.begun.at(1), std::string(62, 'x') + "\xC3\xA9") << "never cut inside a character";
}

} // namespace
} // namespace grimsweep
