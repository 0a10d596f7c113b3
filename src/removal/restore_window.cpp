#include "removal/restore_window.h"

#include <algorithm>

#include "common/text.h"
#include "core/context.h"
#include "removal/quarantine_restore.h"
#include "ui/list_columns.h"
#include "ui/list_icons.h"

namespace grimsweep {

namespace {

constexpr std::string_view kIntro =
    "Tick the items to put back where they were removed from. The copies stay in the quarantine.";
constexpr std::string_view kLineEnd = "\r\n";
// A row's check box and small icon, left of its text.
constexpr int kCheckAndIconTwips = 600;

int IconOf(QuarantineKind kind) {
    switch (kind) {
    case QuarantineKind::Folder:
        return ui::kIconFolder;
    case QuarantineKind::Cookie:
        return ui::kIconCookie;
    case QuarantineKind::Value:
    case QuarantineKind::Key:
        return ui::kIconRegistry;
    case QuarantineKind::File:
        break;
    }
    return ui::kIconFile;
}

// Why an item did not come back, in the language in use.
std::string_view WhyNotRestored(RestoreStatus status) {
    switch (status) {
    case RestoreStatus::MissingBackup:
        return "MSG_RESTORE_NO_BACKUP";
    case RestoreStatus::TargetExists:
        return "MSG_RESTORE_THERE";
    case RestoreStatus::ImportFailed:
        return "MSG_RESTORE_IMPORT";
    case RestoreStatus::NotRecordable:
        return "MSG_RESTORE_LOG";
    case RestoreStatus::BadOrigin:
        return "MSG_RESTORE_ORIGIN";
    case RestoreStatus::BadBackupName:
        return "MSG_RESTORE_NAME";
    case RestoreStatus::Restored:
    case RestoreStatus::CopyFailed:
        break;
    }
    return "MSG_RESTORE_COPY";
}

} // namespace

RestoreWindow::RestoreWindow(Context& context, const Skin& skin, BusyState& busy)
    : context_(context), skin_(skin), busy_(busy), form_(context.host, std::string(kRestoreWindowName)) {
    using ui::ControlType;
    form_.Move(0, 0, 9360, 5640);
    ui::Control& intro = form_.Add("lblIntro", ControlType::Label);
    intro.SetCaption(std::string(kIntro));
    intro.Move(240, 180, 8760, 480);
    ui::Control& list = form_.Add(std::string(kRestoreList), ControlType::ListView);
    list.SetCheckBoxes(true);
    list.AddColumn("Item", 2300);
    list.AddColumn("Original location", 4200);
    list.AddColumn("Quarantined", 2000);
    list.Move(240, 720, 8760, 3840);
    ui::Control& restore = form_.Add(std::string(kRestoreCommand), ControlType::CommandButton);
    restore.SetCaption("Restore");
    restore.Move(6240, 4680, 1320, 420);
    restore.onClick = [this] { RestoreTicked(); };
    ui::Control& close = form_.Add(std::string(kRestoreCloseCommand), ControlType::CommandButton);
    close.SetCaption("Close");
    close.Move(7680, 4680, 1320, 420);
    close.onClick = [this] { form_.Unload(); };
    form_.onLoad = [this] { OnLoad(); };
}

void RestoreWindow::Show(const ui::Form& owner) {
    ui::CentreOver(form_, owner);
    form_.Show(true);
}

// What the item was, as the user knew it: "Start Page (registry value)", "gloom.exe (file)". The backup's
// own name ("Start Page.reg", "gloom (2).exe") is the quarantine's business.
std::string RestoreWindow::ItemText(const QuarantineItem& item) const {
    const auto lastName = [](const std::string& path) {
        const std::size_t slash = path.find_last_of('\\');
        return slash == std::string::npos ? path : path.substr(slash + 1);
    };
    std::string name = lastName(item.origin);
    std::string_view kind = "MSG_KIND_FILE";
    switch (item.kind) {
    case QuarantineKind::Folder:
        kind = "MSG_KIND_FOLDER";
        break;
    case QuarantineKind::Cookie:
        kind = "MSG_KIND_COOKIE";
        break;
    case QuarantineKind::Value:
        name = item.valueName.empty() ? std::string("(Default)") : item.valueName;
        kind = "MSG_KIND_VALUE";
        break;
    case QuarantineKind::Key:
        kind = "MSG_KIND_KEY";
        break;
    case QuarantineKind::File:
        break;
    }
    return name + " (" + context_.Message(kind) + ")";
}

void RestoreWindow::OnLoad() {
    form_.SetCaption(context_.Message("MSG_RESTORE_TITLE"));
    form_.SetIconResource(std::string(kWindowIconResource));
    Refresh();
    if (context_.brand.skinningEnabled) {
        ApplySkin(form_, skin_);
    }
}

void RestoreWindow::Refresh() {
    items_.clear();
    for (QuarantineItem& item : ReadQuarantineIndex(context_)) {
        if (!item.restored) {
            items_.push_back(std::move(item));
        }
    }
    std::reverse(items_.begin(), items_.end());
    std::vector<ui::ListRow> rows;
    rows.reserve(items_.size());
    for (const QuarantineItem& item : items_) {
        ui::ListRow row;
        row.text = ItemText(item);
        row.subItems = {OriginText(item), item.when};
        row.smallIcon = IconOf(item.kind);
        rows.push_back(std::move(row));
    }
    ui::Control& list = form_.Get(kRestoreList);
    list.ClearRows();
    list.AddRows(std::move(rows));
    // Each item and its place whole: the columns widen to them and the list scrolls sideways.
    ui::FitColumnsToText(list, kCheckAndIconTwips);
    form_.Get(kRestoreCommand).SetEnabled(!items_.empty());
}

bool RestoreWindow::AskReplace(const std::string& target) {
    const MessageBoxRequest question{
        target + std::string(kLineEnd) + std::string(kLineEnd) + context_.Message("MSG_RESTORE_REPLACE"),
        context_.brand.programName, MessageBoxButtons::YesNo, MessageBoxIcon::Question};
    return context_.host.ShowMessageBox(question) == MessageBoxAnswer::Yes;
}

void RestoreWindow::RestoreTicked() {
    const MessageBoxRequest notice{"", context_.brand.programName, MessageBoxButtons::Ok,
                                   MessageBoxIcon::Information};
    std::vector<QuarantineItem> ticked;
    const auto& rows = form_.Get(kRestoreList).Rows();
    for (std::size_t row = 0; row < rows.size() && row < items_.size(); ++row) {
        if (rows[row].checked) {
            ticked.push_back(items_[row]);
        }
    }
    if (ticked.empty()) {
        MessageBoxRequest box = notice;
        box.text = context_.Message("MSG_RESTORE_NOTHING");
        context_.host.ShowMessageBox(box);
        return;
    }
    BusyScope hold(busy_, BusyTask::Removal);
    if (!hold.Held()) {
        MessageBoxRequest box = notice;
        box.text = context_.Message("MSG_RESTORE_BUSY");
        context_.host.ShowMessageBox(box);
        return;
    }
    ui::Control& restore = form_.Get(kRestoreCommand);
    ui::Control& close = form_.Get(kRestoreCloseCommand);
    restore.SetEnabled(false);
    close.SetEnabled(false);
    std::string restored;
    std::string notRestored;
    for (const QuarantineItem& item : ticked) {
        const RestoreOutcome outcome = RestoreQuarantinedItem(
            context_, item, [this](const std::string& target) { return AskReplace(target); });
        if (outcome.Restored()) {
            restored += outcome.target;
            if (outcome.keptEntries > 0) {
                restored += " (" +
                            ReplaceAllIgnoreCase(context_.Message("MSG_RESTORE_KEPT"), "[Count]",
                                                 std::to_string(outcome.keptEntries)) +
                            ")";
            }
            restored += kLineEnd;
        } else {
            notRestored += outcome.target + ": " + context_.Message(WhyNotRestored(outcome.status)) +
                           std::string(kLineEnd);
        }
        context_.host.PumpMessages();
    }
    close.SetEnabled(true);
    std::string summary;
    if (!restored.empty()) {
        summary += context_.Message("MSG_RESTORED") + std::string(kLineEnd) + restored;
    }
    if (!notRestored.empty()) {
        summary += (summary.empty() ? "" : std::string(kLineEnd)) + context_.Message("MSG_NOT_RESTORED") +
                   std::string(kLineEnd) + notRestored;
    }
    MessageBoxRequest box = notice;
    box.text = summary;
    box.icon = notRestored.empty() ? MessageBoxIcon::Information : MessageBoxIcon::Exclamation;
    context_.host.ShowMessageBox(box);
    Refresh();
}

} // namespace grimsweep
