#include "removal/removal_engine.h"

#include <algorithm>
#include <cmath>

#include "common/attempt.h"
#include "common/case_folding.h"
#include "common/text.h"
#include "core/context.h"
#include "core/file_presence.h"
#include "core/settings_keys.h"
#include "platform/canonical_path.h"
#include "removal/com_server.h"
#include "removal/protected_keys.h"
#include "scan/scan_driver.h"

namespace grimsweep {

namespace {

using namespace settings;

constexpr std::string_view kStatusLabel = "lblDeletingPercentageCompleted";
constexpr std::string_view kItemLabel = "lblDeletingCaption";
constexpr std::string_view kBar = "pgbDeleteSpywaresFound";
constexpr std::string_view kDeleteCommand = "Command4";
constexpr std::string_view kCrLf2 = "\r\n\r\n";

// The text after the last "." when no "\" or ":" follows it, trimmed, in upper case.
std::string Extension(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || path.find_first_of("\\:", dot) != std::string::npos) {
        return {};
    }
    return ToUpper(Trim(path.substr(dot + 1)));
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

// Ticks or unticks a row without running the list's tick handler, which would do the same to every
// partner of the row.
void SetTick(ui::Control& list, std::size_t row, bool checked) {
    auto handler = std::move(list.onItemCheck);
    list.onItemCheck = nullptr;
    list.SetRowChecked(row, checked);
    list.onItemCheck = std::move(handler);
}

void Untick(ui::Control& list, std::size_t row) {
    SetTick(list, row, false);
}

} // namespace

RemovalEngine::RemovalEngine(Context& context, ui::Form& mainWindow, ScanLists& lists, BusyState& busy,
                             const Skin& skin)
    : context_(context), form_(mainWindow), lists_(lists), busy_(busy), store_(context), log_(context),
      routines_(context, store_, log_), registry_(context, store_, log_),
      restorePoint_(context.machine.restorePoints), problems_(context, skin) {}

bool RemovalEngine::Message(MessageBoxRequest request, MessageBoxAnswer& answer) {
    if (automaticDeletion) {
        return false;
    }
    answer = context_.host.ShowMessageBox(request);
    return true;
}

void RemovalEngine::ConfirmAndRemove() {
    if (busy_.Busy() && !automaticDeletion) {
        return;
    }
    const MessageCatalogue& messages = context_.messages;
    const auto& rows = lists_.Removal().Rows();
    const bool anyTicked =
        std::any_of(rows.begin(), rows.end(), [](const ui::ListRow& row) { return row.checked; });
    MessageBoxAnswer answer = MessageBoxAnswer::Ok;
    if (!anyTicked) {
        Message({messages.getMessages(kMsgSelected), context_.brand.programName, MessageBoxButtons::Ok,
                 MessageBoxIcon::Information},
                answer);
        return;
    }
    const bool restorePoints = SupportsRestorePoints(context_.machine.system.GetOsVersion());
    std::string question = messages.getMessages(kMsgConfirm1) + std::string(kCrLf2) +
                           messages.getMessages(kMsgConfirm2) + std::string(kCrLf2) + store_.Folder();
    if (restorePoints) {
        question += std::string(kCrLf2) + messages.getMessages(kMsgConfirm3) + std::string(kCrLf2) +
                    messages.getMessages(kMsgConfirm4);
    }
    if (Message(
            {question, messages.getMessages(kMsgReally), MessageBoxButtons::YesNo, MessageBoxIcon::Question},
            answer) &&
        answer != MessageBoxAnswer::Yes) {
        return;
    }
    Attempt([&] {
        for (std::string_view name : {kBar, kStatusLabel, kItemLabel}) {
            Control(name).SetVisible(true);
        }
    });
    problems_.Clear();
    RunRemoval();
}

void RemovalEngine::RunRemoval() {
    // A removal that a scheduled scan starts at its end runs inside that scan's hold.
    BusyScope hold(busy_, BusyTask::Removal, automaticDeletion);
    if (!hold.Held()) {
        return;
    }
    outcome_ = RemovalOutcome{};
    survivors_.clear();
    refusedRemovalRows_.clear();
    const MessageCatalogue& messages = context_.messages;
    Attempt([&] { store_.EnsureFolder(); });
    store_.ForgetRemoval();
    Attempt([&] {
        Control("tmrScroll").SetEnabled(false);
        for (std::string_view name : {"cmdScan", "cmdSettings", "cmdResults", "lblHide"}) {
            Control(name).SetEnabled(true);
        }
        Control(kDeleteCommand).SetEnabled(false);
        if (hooks.setBackgroundTimers) {
            hooks.setBackgroundTimers(false);
        }
        Control("tmrScroll").SetEnabled(false);
        for (std::string_view name : {kBar, kStatusLabel, kItemLabel}) {
            Control(name).SetVisible(true);
        }
    });
    Attempt([&] {
        Control(kStatusLabel).SetCaption(messages.getMessages(kMsgInformation));
        for (int i = 0; i < kPaintPumps; ++i) {
            context_.host.PumpMessages();
        }
        Control(kStatusLabel).SetCaption("");
    });
    const bool restorePoints = SupportsRestorePoints(context_.machine.system.GetOsVersion());
    if (restorePoints) {
        Attempt([&] { BeginRestorePoint(); });
    }
    log_.logging = true;
    Attempt([&] { RemovalPass(false); });
    log_.logging = false;
    Attempt([&] { RemovalPass(true); });
    Attempt([&] { store_.DiscardUnrecorded(); });
    if (restorePoints) {
        Attempt([&] { restorePoint_.End(); });
    }
    Attempt([&] { OfferAdministrator(); });
    int removedRows = 0;
    Attempt([&] {
        const auto ticked = [](const ui::ListRow& row) { return row.checked; };
        lists_.Files().RemoveRowsIf(ticked);
        lists_.Registry().RemoveRowsIf(ticked);
        // A cookie row left ticked would remove an item restored from the quarantine at the next Delete.
        lists_.Cookies().RemoveRowsIf(ticked);
        lists_.Found().RemoveRowsIf(ticked);
        removedRows = static_cast<int>(lists_.Removal().RemoveRowsIf(ticked));
    });
    FinishRemoval(removedRows);
}

void RemovalEngine::BeginRestorePoint() {
    Control(kStatusLabel).SetCaption(context_.messages.getMessages(kMsgRestorePoint));
    context_.host.PumpMessages();
    ISystem& system = context_.machine.system;
    const std::string description =
        context_.brand.programName + " Restore Point " + system.FormatDateTimeForDisplay(system.Now());
    restorePoint_.Begin(description, kRemovalRestorePointType);
}

void RemovalEngine::FinishRemoval(int removedRows) {
    Attempt([&] {
        Control(kItemLabel).SetCaption("");
        ui::Control& bar = Control(kBar);
        bar.SetValue(bar.Max());
        Control(kStatusLabel).SetCaption("100% " + context_.messages.getMessages(kMsgComplete));
    });
    Attempt([&] {
        if (hooks.setBackgroundTimers) {
            hooks.setBackgroundTimers(true);
        }
        Control("tmrTimeOut").SetEnabled(false);
        Control(kDeleteCommand).SetEnabled(true);
    });
    outcome_.removed = removedRows;
    outcome_.problems = problems_.Entries();
    // The total counts the items that went, not what the scan found.
    Attempt([&] {
        const std::int64_t before =
            context_.settings.ReadNumber(kSectionSettings, kDefRemoved, kDefRemovedDefault);
        context_.settings.Write(kSectionSettings, kDefRemoved, std::to_string(before + removedRows));
    });
    Attempt([&] {
        if (Control("chkSendData").Value() == 1 && hooks.submitData) {
            hooks.submitData();
        }
    });
    Attempt([&] {
        if (hooks.refreshStatusPanel) {
            hooks.refreshStatusPanel();
        }
        for (std::string_view name : {kBar, kStatusLabel, kItemLabel}) {
            Control(name).SetVisible(false);
        }
    });
}

void RemovalEngine::RemovalPass(bool checking) {
    passProblems_ = 0;
    if (!lists_.Removal().Rows().empty()) {
        Attempt([&] {
            Control(kStatusLabel).SetVisible(true);
            Control(kBar).SetVisible(true);
            Control(kStatusLabel).SetCaption(context_.messages.getMessages(kMsgRemoving));
            ui::Control& bar = Control(kBar);
            bar.SetValue(0);
            bar.SetMax(static_cast<int>(lists_.Registry().Rows().size() + lists_.Files().Rows().size()));
        });
    }
    RemoveFiles(checking);
    RemoveRegistry(checking);
    RemoveCookies(checking);
    if (passProblems_ > 0) {
        Attempt([&] { problems_.Show(); });
    }
}

void RemovalEngine::ShowProgress(std::size_t index, std::size_t count, int barValue,
                                 const std::string& item) {
    Attempt([&] {
        ui::Control& bar = Control(kBar);
        bar.SetValue(std::clamp(barValue, 0, bar.Max()));
        const long percent = std::lrint(static_cast<double>(index) / static_cast<double>(count) * 100.0);
        const MessageCatalogue& messages = context_.messages;
        Control(kStatusLabel)
            .SetCaption(messages.getMessages(kMsgRemoving2) + " : " + std::to_string(percent) + "% " +
                        messages.getMessages(kMsgCompleted));
        Control(kItemLabel).SetCaption(item);
    });
}

void RemovalEngine::KeepSurvivor(const std::string& problem, std::string_view reason, ui::Control& list,
                                 std::size_t row,
                                 const std::function<bool(const ui::ListRow&)>& removalPartner) {
    problems_.Add(problem, reason);
    ++passProblems_;
    Survivor survivor{&list == &lists_.Registry()  ? JobList::Registry
                      : &list == &lists_.Cookies() ? JobList::Cookies
                                                   : JobList::Files,
                      row, std::nullopt, problem};
    ui::Control& removal = lists_.Removal();
    for (std::size_t i = 0; i < removal.Rows().size(); ++i) {
        if (removalPartner(removal.Rows()[i])) {
            Untick(removal, i);
            survivor.removalRow = i;
            break;
        }
    }
    Untick(list, row);
    if (reason.empty()) {
        survivors_.push_back(std::move(survivor));
    } else if (survivor.removalRow) {
        refusedRemovalRows_.insert(*survivor.removalRow);
    }
}

ui::Control& RemovalEngine::ListOf(JobList list) const {
    switch (list) {
    case JobList::Registry:
        return lists_.Registry();
    case JobList::Cookies:
        return lists_.Cookies();
    case JobList::Removal:
        return lists_.Removal();
    case JobList::Files:
        break;
    }
    return lists_.Files();
}

bool RemovalEngine::SurvivorPresent(JobList list, const ui::ListRow& row) {
    if (list == JobList::Registry) {
        const auto entry = ParseRegistryEntry(row.text, row.SubItem(1), row.SubItem(2));
        return entry && registry_.Present(*entry);
    }
    return FilePresent(CanonicalizePath(context_.machine.files, row.text).path);
}

void RemovalEngine::OfferAdministrator() {
    if (survivors_.empty() || automaticDeletion || context_.machine.shell.RunsElevated()) {
        return;
    }
    const MessageCatalogue& messages = context_.messages;
    MessageBoxAnswer answer = MessageBoxAnswer::No;
    Message({messages.getMessages(kMsgAdminAsk), context_.brand.programName, MessageBoxButtons::YesNo,
             MessageBoxIcon::Question},
            answer);
    ElevatedRemovalResult result = ElevatedRemovalResult::Declined;
    if (answer == MessageBoxAnswer::Yes) {
        RemovalJob job;
        job.dataFolder = context_.dataFolder;
        for (const Survivor& survivor : survivors_) {
            job.rows.push_back({survivor.list, ListOf(survivor.list).Rows().at(survivor.row)});
            if (survivor.removalRow) {
                job.rows.push_back({JobList::Removal, lists_.Removal().Rows().at(*survivor.removalRow)});
            }
        }
        result = RunRemovalAsAdministrator(context_, job);
    }
    // A threat's removal row goes only when nothing of it stayed: neither an item the removal refused to
    // touch nor one still there after the administrator's removal.
    std::vector<bool> gone(survivors_.size(), false);
    std::set<std::size_t> staying = refusedRemovalRows_;
    for (std::size_t i = 0; i < survivors_.size(); ++i) {
        const Survivor& survivor = survivors_[i];
        gone[i] = result == ElevatedRemovalResult::Ran &&
                  !SurvivorPresent(survivor.list, ListOf(survivor.list).Rows().at(survivor.row));
        if (!gone[i] && survivor.removalRow) {
            staying.insert(*survivor.removalRow);
        }
    }
    for (std::size_t i = 0; i < survivors_.size(); ++i) {
        const Survivor& survivor = survivors_[i];
        if (gone[i]) {
            // It went: its rows go with the ticked ones, and it counts as removed.
            problems_.Remove(survivor.problem);
            SetTick(ListOf(survivor.list), survivor.row, true);
            if (survivor.removalRow && staying.count(*survivor.removalRow) == 0) {
                SetTick(lists_.Removal(), *survivor.removalRow, true);
            }
        } else if (result != ElevatedRemovalResult::Ran) {
            problems_.NeedsAdministrator(survivor.problem,
                                         messages.getMessages(result == ElevatedRemovalResult::Declined
                                                                  ? kMsgAdminDeclined
                                                                  : kMsgAdminFailed));
        }
    }
    if (problems_.Entries().empty()) {
        problems_.Hide();
    } else {
        problems_.Show();
    }
}

bool RemovalEngine::FilePresent(const std::string& path) {
    std::string item = path;
    while (item.size() > 3 && item.back() == '\\') {
        item.pop_back();
    }
    return context_.machine.files.GetAttributes(item).has_value();
}

// The checking pass passes over what the first pass removed: a path that names nothing would otherwise
// be judged as a folder, and one directly in a system folder would be listed as protected although it
// went. Only a local path is looked at.
bool RemovalEngine::RemovedAlready(const std::string& listed) const {
    const CanonicalPath canonical = CanonicalizePath(context_.machine.files, listed);
    return canonical.Local() && !context_.machine.files.GetAttributes(canonical.path).has_value();
}

void RemovalEngine::RemoveFiles(bool checking) {
    ui::Control& list = lists_.Files();
    const std::size_t count = list.Rows().size();
    const ProtectedLocations protectedLocations(context_);
    for (std::size_t i = 0; i < count && i < list.Rows().size(); ++i) {
        if (!list.Rows()[i].checked) {
            continue;
        }
        const std::string listed = list.Rows()[i].text;
        const std::string threat = list.Rows()[i].SubItem(1);
        const auto partner = [&threat](const ui::ListRow& row) { return row.text == threat; };
        ShowProgress(i + 1, count, static_cast<int>(i + 1), Lower(listed));
        if (checking && RemovedAlready(listed)) {
            continue;
        }
        if (const auto refusal = protectedLocations.Refusal(listed)) {
            KeepSurvivor(listed, *refusal, list, i, partner);
            continue;
        }
        // Every step works on the path the system itself would open.
        const std::string path = CanonicalizePath(context_.machine.files, listed).path;
        Attempt([&] {
            const std::string extension = Extension(path);
            if (extension == "DLL" || extension == "OCX") {
                UnregisterComServer(context_.machine.libraries, form_.hostHandle, path, false);
                routines_.BackupAndDeleteComServer(path, form_.hostHandle);
                routines_.BackupAndDeletePath(path);
            } else if (extension == "EXE") {
                routines_.BackupAndDeleteExecutable(path);
            } else {
                routines_.BackupAndDeletePath(path);
            }
        });
        context_.host.PumpMessages();
        if (!checking) {
            continue;
        }
        Attempt([&] {
            if (FileExists(context_.machine.files, path) && ContainsFolded(path, ".exe")) {
                routines_.BackupAndDeleteExecutable(path);
            }
        });
        if (FilePresent(path)) {
            KeepSurvivor(listed, {}, list, i, partner);
        }
    }
}

void RemovalEngine::RemoveRegistry(bool checking) {
    ui::Control& list = lists_.Registry();
    const std::size_t count = list.Rows().size();
    const int filesCount = static_cast<int>(lists_.Files().Rows().size());
    for (std::size_t i = 0; i < count && i < list.Rows().size(); ++i) {
        const ui::ListRow& row = list.Rows()[i];
        if (!row.checked) {
            continue;
        }
        const std::string keyPath = row.SubItem(1);
        const std::string valueName = row.SubItem(2);
        const std::string threat = row.SubItem(3);
        const auto entry = ParseRegistryEntry(row.text, keyPath, valueName);
        ShowProgress(i + 1, count, filesCount + static_cast<int>(i + 1), Lower(keyPath + "\\" + valueName));
        if (!entry) {
            continue;
        }
        const auto partner = [&](const ui::ListRow& other) {
            return other.text == threat || other.text == keyPath;
        };
        if (entry->wholeKey && IsProtectedRegistryKey(entry->root, entry->keyPath)) {
            KeepSurvivor(RegistryEntryText(*entry), kProtectedKeyReason, list, i, partner);
            continue;
        }
        Attempt([&] { registry_.Remove(*entry); });
        context_.host.PumpMessages();
        if (checking && registry_.Present(*entry)) {
            KeepSurvivor(RegistryEntryText(*entry), {}, list, i, partner);
        }
    }
}

void RemovalEngine::RemoveCookies(bool checking) {
    ui::Control& list = lists_.Cookies();
    const std::size_t count = list.Rows().size();
    const ProtectedLocations protectedLocations(context_);
    for (std::size_t i = 0; i < count && i < list.Rows().size(); ++i) {
        if (!list.Rows()[i].checked) {
            continue;
        }
        const std::string listed = list.Rows()[i].text;
        const auto partner = [&](const ui::ListRow& row) {
            return row.smallIcon == 1 && row.SubItem(1) == listed;
        };
        ShowProgress(i + 1, count, Control(kBar).Max(), Lower(listed));
        if (checking && RemovedAlready(listed)) {
            continue;
        }
        if (const auto refusal = protectedLocations.Refusal(listed)) {
            KeepSurvivor(listed, *refusal, list, i, partner);
            continue;
        }
        const std::string path = CanonicalizePath(context_.machine.files, listed).path;
        Attempt([&] {
            if (FileExists(context_.machine.files, path)) {
                routines_.BackupAndDeleteCookie(path);
            }
        });
        context_.host.PumpMessages();
        if (checking && FilePresent(path)) {
            KeepSurvivor(listed, {}, list, i, partner);
        }
    }
}

} // namespace grimsweep
