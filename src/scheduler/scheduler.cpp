#include "scheduler/scheduler.h"

#include <iterator>
#include <string>
#include <utility>

#include "core/settings_keys.h"
#include "scheduler/schedule_text.h"
#include "ui/ui_host.h"

namespace grimsweep {

namespace {

using namespace settings;

constexpr std::string_view kEnableBox = "chkAutomaticScanYesOrNo";
constexpr std::string_view kDayList = "cmbDays";
constexpr std::string_view kDatePicker = "dtpScheduleDate";
constexpr std::string_view kTimePicker = "dtpScheduleTime";
constexpr std::string_view kApplyButton = "CmdProceed";
constexpr std::string_view kResetButton = "cmdReset";
constexpr std::string_view kAutoDeleteBox = "chkAutoDel";
constexpr std::string_view kSchedulerTimer = "tmrScheduler";
constexpr std::string_view kScanNowButton = "cmdScanNow";
// What the timer reads when the day was never stored.
constexpr int kDayDefaultForTick = kScheduleDaily;

bool SameTime(const LocalDateTime& a, const LocalDateTime& b) {
    return a.hour == b.hour && a.minute == b.minute && a.second == b.second;
}

bool SameDate(const LocalDateTime& a, const LocalDateTime& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day;
}

// The day list index of a stored day: a plain number, else nothing (and the schedule is never due).
std::optional<int> DayIndex(std::string_view text) {
    if (text.empty() || text.size() > 2) {
        return std::nullopt;
    }
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

} // namespace

bool ScheduleDue(int day, const std::optional<LocalDateTime>& time, const std::optional<LocalDateTime>& date,
                 const LocalDateTime& now) {
    if (!time || !SameTime(now, *time)) {
        return false;
    }
    if (day >= 0 && day <= kScheduleSunday) {
        // The list starts on Monday; the clock's weekday counts from Sunday.
        return now.dayOfWeek == (day + 1) % 7;
    }
    if (day == kScheduleDaily) {
        return true;
    }
    if (day == kScheduleDateAndTime) {
        return date && SameDate(now, *date);
    }
    return false;
}

Scheduler::Scheduler(Context& context, ui::Form& mainWindow, bool& autoDelete,
                     std::function<void()> startScan)
    : context_(context), autoDelete_(autoDelete), startScan_(std::move(startScan)),
      enable_(mainWindow.Get(kEnableBox)), days_(mainWindow.Get(kDayList)),
      date_(mainWindow.Get(kDatePicker)), time_(mainWindow.Get(kTimePicker)),
      apply_(mainWindow.Get(kApplyButton)), autoDeleteBox_(mainWindow.Get(kAutoDeleteBox)),
      timer_(mainWindow.Get(kSchedulerTimer)), scanNow_(mainWindow.Get(kScanNowButton)) {
    NameDays();
    enable_.onClick = [this] { OnEnableClicked(); };
    days_.onClick = [this] { OnDayChosen(); };
    date_.onChange = [this] { apply_.SetEnabled(true); };
    time_.onChange = [this] { apply_.SetEnabled(true); };
    apply_.onClick = [this] { SaveSchedule(); };
    // Reset puts back what is stored, dropping the changes not yet applied.
    mainWindow.Get(kResetButton).onClick = [this] { LoadSchedule(); };
    autoDeleteBox_.onClick = [this] {
        context_.settings.WriteCheck(kSectionSettings, kAutoDelete, autoDeleteBox_.Value());
    };
    timer_.onTimer = [this] { Tick(); };
}

void Scheduler::NameDays() {
    // The entries change their words, not their places: the stored day is an index.
    const int chosen = days_.ListIndex();
    auto handler = std::move(days_.onClick);
    days_.onClick = nullptr;
    days_.ClearItems();
    for (std::size_t day = 0; day < std::size(kScheduleDayNames); ++day) {
        const std::string name = context_.Message(kScheduleDayMessages[day]);
        days_.AddItem(name.empty() ? std::string(kScheduleDayNames[day]) : name);
    }
    days_.SetListIndex(chosen);
    days_.onClick = std::move(handler);
}

void Scheduler::Tick() {
    // The flag lives for this tick only: a scan the user starts later never removes by itself.
    struct ClearFlag {
        bool& flag;
        ~ClearFlag() { flag = false; }
    } clear{autoDelete_};
    const SettingsStore& store = context_.settings;
    const std::string dayText = store.Read(kSectionOptions, kScheduleDay, std::to_string(kDayDefaultForTick));
    const auto day = DayIndex(dayText);
    if (!day) {
        return;
    }
    const auto time = ParseScheduleText(store.Read(kSectionOptions, kScheduleTime, kScheduleDateTimeDefault));
    const auto date = ParseScheduleText(store.Read(kSectionOptions, kScheduleDate, kScheduleDateTimeDefault));
    LocalDateTime now = context_.machine.system.Now();
    now.millisecond = 0;
    if (!ScheduleDue(*day, time, date, now) || (lastStart_ && *lastStart_ == now)) {
        return;
    }
    // A scan is running while Start is disabled; the start has no effect then.
    if (!scanNow_.Enabled()) {
        return;
    }
    lastStart_ = now;
    autoDelete_ = autoDeleteBox_.Value() == 1;
    if (startScan_) {
        startScan_();
    }
}

void Scheduler::SaveSchedule() {
    SettingsStore& store = context_.settings;
    if (days_.ListIndex() == kScheduleDateAndTime && (!date_.DateValue() || !time_.DateValue())) {
        MessageBoxRequest box;
        box.text = context_.messages.getMessages(kMsgDate);
        box.title = context_.brand.programName;
        box.icon = MessageBoxIcon::Information;
        context_.host.ShowMessageBox(box);
        return;
    }
    store.WriteCheck(kSectionOptions, kScheduledScans, enable_.Value());
    if (store.ReadNumber(kSectionOptions, kScheduledScans, kScheduledScansDefault) != 1) {
        // Off: the schedule itself stays stored for the next time it is switched on.
        timer_.SetEnabled(false);
        apply_.SetEnabled(false);
        return;
    }
    store.Write(kSectionOptions, kScheduleDay, std::to_string(days_.ListIndex()));
    store.Write(kSectionOptions, kScheduleTime, ScheduleText(time_.DateValue()));
    store.Write(kSectionOptions, kScheduleDate, ScheduleText(date_.DateValue()));
    timer_.SetEnabled(true);
    LoadSchedule();
}

void Scheduler::LoadSchedule() {
    NameDays();
    const SettingsStore& store = context_.settings;
    autoDeleteBox_.SetValue(store.ReadNumber(kSectionSettings, kAutoDelete, kAutoDeleteDefault) == 1 ? 1 : 0);
    if (store.Read(kSectionOptions, kScheduleDay, kScheduleDayDefault) == kScheduleDayDefault) {
        // Never applied: daily is offered first.
        days_.SetListIndex(kScheduleDaily);
    } else {
        date_.SetDateValue(
            ParseScheduleText(store.Read(kSectionOptions, kScheduleDate, kScheduleDateTimeDefault)));
        time_.SetDateValue(
            ParseScheduleText(store.Read(kSectionOptions, kScheduleTime, kScheduleDateTimeDefault)));
        const auto day = DayIndex(store.Read(kSectionOptions, kScheduleDay, std::to_string(kScheduleDaily)));
        days_.SetListIndex(day && *day <= kScheduleNever ? *day : kScheduleDaily);
    }
    const int enabled =
        store.ReadNumber(kSectionOptions, kScheduledScans, kScheduledScansDefault) == 1 ? 1 : 0;
    if (enable_.Value() != enabled) {
        enable_.SetValue(enabled); // runs its handler
    } else {
        OnEnableClicked();
    }
    // The controls show what is stored: nothing to apply.
    apply_.SetEnabled(false);
}

void Scheduler::OnEnableClicked() {
    timer_.SetEnabled(enable_.Value() == 1);
    EnablePickers();
    apply_.SetEnabled(true);
}

void Scheduler::OnDayChosen() {
    EnablePickers();
    apply_.SetEnabled(true);
}

void Scheduler::EnablePickers() {
    const bool on = enable_.Value() == 1;
    const int day = days_.ListIndex();
    days_.SetEnabled(on);
    if (!on) {
        date_.SetEnabled(false);
        time_.SetEnabled(false);
        return;
    }
    if (day == kScheduleNever) {
        date_.SetDateValue(std::nullopt);
        time_.SetDateValue(std::nullopt);
    } else if (day != kScheduleDateAndTime) {
        date_.SetDateValue(std::nullopt);
    }
    date_.SetEnabled(day == kScheduleDateAndTime);
    time_.SetEnabled(day != kScheduleNever);
}

} // namespace grimsweep
