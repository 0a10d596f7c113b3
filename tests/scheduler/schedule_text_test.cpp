// The stored form of the schedule's time and date, and the rule that says when a schedule is due.
#include <gtest/gtest.h>

#include "scheduler/schedule_text.h"
#include "scheduler/scheduler.h"

namespace grimsweep {
namespace {

TEST(ScheduleText, WritesOneFixedFormAndReadsItBackToTheSecondWithItsWeekday) {
    const LocalDateTime when{2026, 12, 9, 7, 5, 3, 3, 870};
    EXPECT_EQ(ScheduleText(when), "2026-12-09 07:05:03");
    const auto back = ParseScheduleText(ScheduleText(when));
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, (LocalDateTime{2026, 12, 9, 7, 5, 3, 3, 0}));
    EXPECT_EQ(ParseScheduleText("2024-02-29 23:59:59")->dayOfWeek, 4); // a Thursday
    EXPECT_EQ(ParseScheduleText("2000-01-01 00:00:00")->dayOfWeek, 6); // a Saturday
    EXPECT_EQ(ScheduleText(std::nullopt), "Null");
}

TEST(ScheduleText, EverythingButThatFormReadsAsNoValue) {
    for (const char* text :
         {"Null", "", "12:00:00", "9.12.2026 12:00:00", "12/9/2026 12:00:00 PM", "2026-12-09",
          "2026-12-09 12:00", " 2026-12-09 12:00:00", "2026-12-09 12:00:00 ", "2026-12-09T12:00:00",
          "2026-13-01 12:00:00", "2026-02-29 12:00:00", "2026-04-31 12:00:00", "2026-12-09 24:00:00",
          "2026-12-09 12:60:00", "2026-12-09 12:00:60", "2026-12-0a 12:00:00", "+026-12-09 12:00:00",
          "0000-01-01 00:00:00"}) {
        EXPECT_FALSE(ParseScheduleText(text).has_value()) << text;
    }
}

TEST(ScheduleDue, WeeklyMatchesTheWeekdayByItsNumberFromMondayToSunday) {
    const auto noon = ParseScheduleText("2026-01-01 12:00:00");
    // 14 to 20 December 2026 run from Monday to Sunday.
    for (int index = 0; index <= kScheduleSunday; ++index) {
        for (int day = 14; day <= 20; ++day) {
            const LocalDateTime now = *ParseScheduleText("2026-12-" + std::to_string(day) + " 12:00:00");
            EXPECT_EQ(ScheduleDue(index, noon, std::nullopt, now), day - 14 == index)
                << "index " << index << ", 2026-12-" << day;
        }
    }
}

TEST(ScheduleDue, TheTimeMustMatchToTheSecondAndTheDateOnlyForADateSchedule) {
    const auto time = ParseScheduleText("1999-05-05 12:00:00");
    const auto date = ParseScheduleText("2026-12-10 08:00:00");
    const LocalDateTime due = *ParseScheduleText("2026-12-10 12:00:00");
    LocalDateTime late = due;
    late.second = 1;
    EXPECT_TRUE(ScheduleDue(kScheduleDaily, time, std::nullopt, due));
    EXPECT_FALSE(ScheduleDue(kScheduleDaily, time, std::nullopt, late));
    EXPECT_TRUE(ScheduleDue(kScheduleDateAndTime, time, date, due));
    EXPECT_FALSE(ScheduleDue(kScheduleDateAndTime, time, date, *ParseScheduleText("2026-12-09 12:00:00")));
    EXPECT_FALSE(ScheduleDue(kScheduleDateAndTime, time, std::nullopt, due));
    EXPECT_FALSE(ScheduleDue(kScheduleDaily, std::nullopt, date, due));
    for (int never : {kScheduleNever, 10, -1}) {
        EXPECT_FALSE(ScheduleDue(never, time, date, due)) << never;
    }
}

} // namespace
} // namespace grimsweep
