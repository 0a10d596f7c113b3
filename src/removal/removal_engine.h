// The removal: after the user ticks rows of the Results panel and presses Delete (or a scheduled scan
// with automatic deletion ends), backs the ticked items up into the quarantine and deletes them, in two
// passes over the hidden lists (the first records, the second retries and lists what stayed), inside a
// System Restore point where the system offers one.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/busy_state.h"
#include "removal/elevated_removal.h"
#include "removal/problem_window.h"
#include "removal/protected_locations.h"
#include "removal/quarantine_log.h"
#include "removal/quarantine_routines.h"
#include "removal/quarantine_store.h"
#include "removal/registry_removal.h"
#include "removal/restore_point.h"
#include "scan/scan_lists.h"
#include "ui/form.h"
#include "ui/message_box.h"

namespace grimsweep {

inline constexpr std::string_view kMsgSelected = "MSG_SELECTED";
inline constexpr std::string_view kMsgConfirm1 = "MSG_CONFIRM1";
inline constexpr std::string_view kMsgConfirm2 = "MSG_CONFIRM2";
inline constexpr std::string_view kMsgConfirm3 = "MSG_CONFIRM3";
inline constexpr std::string_view kMsgConfirm4 = "MSG_CONFIRM4";
inline constexpr std::string_view kMsgReally = "MSG_REALLY";
inline constexpr std::string_view kMsgRemoving = "MSG_REMOVING";
inline constexpr std::string_view kMsgRemoving2 = "MSG_REMOVING2";
inline constexpr std::string_view kMsgInformation = "MSG_INFORMATION";
inline constexpr std::string_view kMsgRestorePoint = "MSG_RESTOREPOINT";
inline constexpr std::string_view kMsgComplete = "MSG_COMPLETE";
inline constexpr std::string_view kMsgAdminAsk = "MSG_ADMIN_ASK";
inline constexpr std::string_view kMsgAdminDeclined = "MSG_ADMIN_DECLINED";
inline constexpr std::string_view kMsgAdminFailed = "MSG_ADMIN_FAILED";
inline constexpr int kPaintPumps = 20001;

// What the removal asks of the window and the subsystems around it; an empty hook does nothing.
struct RemovalHooks {
    std::function<void(bool on)> setBackgroundTimers;
    std::function<void()> refreshStatusPanel;
    std::function<void()> submitData; // the anonymous data submission, when the user allows it
};

// What one removal did.
struct RemovalOutcome {
    int removed = 0;                   // ticked rows of the removal list that went
    std::vector<std::string> problems; // what stayed
};

class RemovalEngine {
public:
    // The main window must hold the six result lists and the removal's progress controls.
    RemovalEngine(Context& context, ui::Form& mainWindow, ScanLists& lists, BusyState& busy,
                  const Skin& skin);

    RemovalHooks hooks;
    // Set while a scheduled scan with automatic deletion runs: no question and no message box.
    bool automaticDeletion = false;

    // The Delete command: asks, then removes what is ticked.
    void ConfirmAndRemove();
    // The removal itself.
    void RunRemoval();

    ProblemWindow& Problems() { return problems_; }
    QuarantineLog& Log() { return log_; }
    const RemovalOutcome& LastOutcome() const { return outcome_; }

private:
    void RemovalPass(bool checking);
    void RemoveFiles(bool checking);
    bool RemovedAlready(const std::string& listed) const;
    void RemoveRegistry(bool checking);
    void RemoveCookies(bool checking);
    // Status label, bar and item label for entry `index` (1-based) of `count`.
    void ShowProgress(std::size_t index, std::size_t count, int barValue, const std::string& item);
    // Lists what stayed and keeps its rows: its removal row and its own row are unticked.
    void KeepSurvivor(const std::string& problem, std::string_view reason, ui::Control& list, std::size_t row,
                      const std::function<bool(const ui::ListRow&)>& removalPartner);
    bool FilePresent(const std::string& path);
    // After a removal without an administrator's rights left items behind: asks once whether to remove
    // them as administrator, does so, and takes what went off the problem list; what stayed is listed
    // with the reason.
    void OfferAdministrator();
    bool SurvivorPresent(JobList list, const ui::ListRow& row);
    ui::Control& ListOf(JobList list) const;
    void BeginRestorePoint();
    void FinishRemoval(int removedRows);
    bool Message(MessageBoxRequest request, MessageBoxAnswer& answer);
    ui::Control& Control(std::string_view name) const { return form_.Get(name); }

    Context& context_;
    ui::Form& form_;
    ScanLists& lists_;
    BusyState& busy_;
    QuarantineStore store_;
    QuarantineLog log_;
    QuarantineRoutines routines_;
    RegistryRemoval registry_;
    RestorePoint restorePoint_;
    ProblemWindow problems_;
    RemovalOutcome outcome_;
    int passProblems_ = 0;
    // What the checking pass could not remove (not what it refused to touch), by list and row.
    struct Survivor {
        JobList list = JobList::Files;
        std::size_t row = 0;
        std::optional<std::size_t> removalRow;
        std::string problem;
    };
    std::vector<Survivor> survivors_;
    std::set<std::size_t> refusedRemovalRows_; // removal rows of items the removal refused to touch
};

} // namespace grimsweep
