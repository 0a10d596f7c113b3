// Scheduled scans: a fast timer of the main window compares the clock, to the second, with the stored
// schedule (one weekday every week, every day, or once on a date) and starts the user scan as if Start
// had been pressed, optionally removing everything it finds without questions. The Schedule page of the
// Options panel edits the schedule; "Apply" stores it.
#pragma once

#include <functional>
#include <optional>
#include <string_view>

#include "core/context.h"
#include "platform/system.h"
#include "ui/form.h"

namespace grimsweep {

inline constexpr std::string_view kMsgDate = "MSG_DATE";

// The entries of the day list, by index.
// The day list's entries by index, and their catalogue messages: the list holds them in the language in
// use, in English before a language is loaded.
inline constexpr std::string_view kScheduleDayNames[] = {"Monday",      "Tuesday",  "Wednesday", "Thursday",
                                                         "Friday",      "Saturday", "Sunday",    "Daily",
                                                         "Date & Time", "Never"};
inline constexpr std::string_view kScheduleDayMessages[] = {
    "MSG_DAY_MONDAY",   "MSG_DAY_TUESDAY", "MSG_DAY_WEDNESDAY", "MSG_DAY_THURSDAY", "MSG_DAY_FRIDAY",
    "MSG_DAY_SATURDAY", "MSG_DAY_SUNDAY",  "MSG_DAY_DAILY",     "MSG_DAY_DATETIME", "MSG_NEVER"};
inline constexpr int kScheduleSunday = 6;
inline constexpr int kScheduleDaily = 7;
inline constexpr int kScheduleDateAndTime = 8;
inline constexpr int kScheduleNever = 9;

// Whether a schedule of that day list index, stored time and stored date is due at `now`: weekly on
// the weekday of the index, daily, or on the date; always at the time's second. Without a time (or,
// for a date schedule, a date) it is never due.
bool ScheduleDue(int day, const std::optional<LocalDateTime>& time, const std::optional<LocalDateTime>& date,
                 const LocalDateTime& now);

class Scheduler {
public:
    // Binds the schedule controls of the main window, fills the day list and sets their handlers.
    // `autoDelete` is the flag that makes the scan remove what it found without questions; `startScan`
    // starts the user scan as a press on Start does and returns when the scan has ended.
    Scheduler(Context& context, ui::Form& mainWindow, bool& autoDelete, std::function<void()> startScan);
    Scheduler(const Scheduler&) = delete;
    Scheduler& operator=(const Scheduler&) = delete;

    // One tick of tmrScheduler: starts the scan when the schedule is due and no scan runs, at most once
    // in each due second.
    void Tick();
    // Fills the day list with the day names of the language in use, keeping the chosen entry.
    void NameDays();
    // "Apply": stores the schedule shown in the controls.
    void SaveSchedule();
    // Shows the stored schedule in the controls.
    void LoadSchedule();

private:
    void OnEnableClicked();
    void OnDayChosen();
    // The day list and pickers as the check box and the chosen day allow.
    void EnablePickers();

    Context& context_;
    bool& autoDelete_;
    std::function<void()> startScan_;
    ui::Control& enable_;        // chkAutomaticScanYesOrNo
    ui::Control& days_;          // cmbDays
    ui::Control& date_;          // dtpScheduleDate
    ui::Control& time_;          // dtpScheduleTime
    ui::Control& apply_;         // CmdProceed
    ui::Control& autoDeleteBox_; // chkAutoDel
    ui::Control& timer_;         // tmrScheduler
    ui::Control& scanNow_;       // cmdScanNow
    // The second in which the scheduler last started a scan: a scan shorter than a second must not
    // start again in the same second.
    std::optional<LocalDateTime> lastStart_;
};

} // namespace grimsweep
