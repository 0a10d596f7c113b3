#include "removal/restore_window.h"

#include <algorithm>

#include "core/context.h"
#include "removal/quarantine_restore.h"
#include "ui/list_icons.h"

namespace grimsweep {

namespace {

constexpr std::string_view kCaption = "Restore from Quarantine";
constexpr std::string_view kIntro =
    "Tick the items to put back where they were removed from. The copies stay in the quarantine.";
constexpr std::string_view kNothingTicked = "Tick the items to restore first.";
constexpr std::string_view kBusy = "Restore can run once the scan or removal has finished.";
constexpr std::string_view kReplaceQuestion =
    "is there already. Replace it with the copy from the quarantine?";
constexpr std::string_view kRestoredHeading = "Restored:";
constexpr std::string_view kNotRestoredHeading = "Not restored:";
constexpr std::string_view kLineEnd = "\r\n";

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

void RestoreWindow::OnLoad() {
    form_.SetCaption(std::string(kCaption));
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
        row.text = item.backupName;
        row.subItems = {OriginText(item), item.when};
        row.smallIcon = IconOf(item.kind);
        rows.push_back(std::move(row));
    }
    ui::Control& list = form_.Get(kRestoreList);
    list.ClearRows();
    list.AddRows(std::move(rows));
    form_.Get(kRestoreCommand).SetEnabled(!items_.empty());
}

bool RestoreWindow::AskReplace(const std::string& target) {
    const MessageBoxRequest question{
        target + std::string(kLineEnd) + std::string(kLineEnd) + std::string(kReplaceQuestion),
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
        box.text = std::string(kNothingTicked);
        context_.host.ShowMessageBox(box);
        return;
    }
    BusyScope hold(busy_, BusyTask::Removal);
    if (!hold.Held()) {
        MessageBoxRequest box = notice;
        box.text = std::string(kBusy);
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
                restored += " (" + std::to_string(outcome.keptEntries) + " entries already there were kept)";
            }
            restored += kLineEnd;
        } else {
            notRestored += outcome.target + ": " + std::string(RestoreStatusText(outcome.status)) +
                           std::string(kLineEnd);
        }
        context_.host.PumpMessages();
    }
    close.SetEnabled(true);
    std::string summary;
    if (!restored.empty()) {
        summary += std::string(kRestoredHeading) + std::string(kLineEnd) + restored;
    }
    if (!notRestored.empty()) {
        summary += (summary.empty() ? "" : std::string(kLineEnd)) + std::string(kNotRestoredHeading) +
                   std::string(kLineEnd) + notRestored;
    }
    MessageBoxRequest box = notice;
    box.text = summary;
    box.icon = notRestored.empty() ? MessageBoxIcon::Information : MessageBoxIcon::Exclamation;
    context_.host.ShowMessageBox(box);
    Refresh();
}

} // namespace grimsweep
