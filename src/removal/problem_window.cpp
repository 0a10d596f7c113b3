#include "removal/problem_window.h"

#include <algorithm>

#include "common/case_folding.h"
#include "core/context.h"

namespace grimsweep {

namespace {
constexpr std::string_view kText1 =
    "The following files could not be deleted.  You should save your work, close all running programs "
    "(especially browsers) and try to delete them again.";
constexpr std::string_view kText2 =
    "If you still cannot delete them, you should start your computer in Safe Mode "
    "and either scan again or delete them manually.";
constexpr std::string_view kRefusedText =
    "The following locations were not removed: they are protected parts of Windows or lie outside this "
    "computer's drives, and no definition may delete them.";
constexpr std::string_view kReasonSeparator = " - ";
} // namespace

ProblemWindow::ProblemWindow(Context& context, const Skin& skin)
    : context_(context), skin_(skin), form_(context.host, std::string(kProblemWindowName)) {
    using ui::ControlType;
    form_.SetCaption("Delete Failed");
    form_.Move(0, 0, 9600, 5400);
    ui::Control& text1 = form_.Add("lblText", ControlType::Label, nullptr, 0);
    text1.SetCaption(std::string(kText1));
    text1.Move(240, 180, 9000, 660);
    ui::Control& list = form_.Add(std::string(kProblemList), ControlType::ListView);
    list.AddColumn("Location", 4800);
    list.AddColumn("Reason", 3900);
    list.Move(240, 900, 9000, 2400);
    ui::Control& text2 = form_.Add("lblText", ControlType::Label, nullptr, 1);
    text2.SetCaption(std::string(kText2));
    text2.Move(240, 3420, 9000, 660);
    // Shown instead of the two texts above when every entry is one the removal refused to touch.
    ui::Control& refused = form_.Add("lblText", ControlType::Label, nullptr, 2);
    refused.SetCaption(std::string(kRefusedText));
    refused.Move(240, 180, 9000, 660);
    refused.SetVisible(false);
    ui::Control& ok = form_.Add("cmdOk", ControlType::CommandButton);
    ok.SetCaption("Ok");
    ok.Move(7920, 4260, 1320, 420);
    ok.onClick = [this] { Hide(); };
    ui::Control& copy = form_.Add("cmdCopy", ControlType::CommandButton);
    copy.SetCaption("Copy List");
    copy.Move(6480, 4260, 1320, 420);
    copy.onClick = [this] { CopyList(); };
    form_.onLoad = [this] {
        form_.SetCaption(context_.Message("MSG_DELETE_FAILED"));
        form_.SetIconResource(std::string(kWindowIconResource));
        if (context_.brand.skinningEnabled) {
            ApplySkin(form_, skin_);
        }
    };
    form_.onCloseRequest = [this] {
        Hide();
        return false;
    };
}

std::vector<std::string> ProblemWindow::Entries() const {
    std::vector<std::string> entries;
    for (const auto& row : form_.Get(kProblemList).Rows()) {
        entries.push_back(row.text);
    }
    return entries;
}

std::vector<std::string> ProblemWindow::EntriesWithReasons() const {
    std::vector<std::string> entries;
    for (const auto& row : form_.Get(kProblemList).Rows()) {
        const std::string reason = row.SubItem(1);
        entries.push_back(reason.empty() ? row.text : row.text + std::string(kReasonSeparator) + reason);
    }
    return entries;
}

bool ProblemWindow::Add(const std::string& location, std::string_view reason) {
    ui::Control& list = form_.Get(kProblemList);
    for (const auto& row : list.Rows()) {
        if (EqualsFolded(row.text, location)) {
            return false;
        }
    }
    ui::ListRow row;
    row.text = location;
    if (!reason.empty()) {
        row.subItems.emplace_back(reason);
    }
    list.AddRow(std::move(row));
    return true;
}

void ProblemWindow::Remove(const std::string& location) {
    form_.Get(kProblemList).RemoveRowsIf([&](const ui::ListRow& row) {
        return EqualsFolded(row.text, location);
    });
    needAdministrator_.erase(FoldFileName(location));
}

void ProblemWindow::NeedsAdministrator(const std::string& location, std::string_view reason) {
    ui::Control& list = form_.Get(kProblemList);
    for (std::size_t i = 0; i < list.Rows().size(); ++i) {
        if (EqualsFolded(list.Rows()[i].text, location)) {
            list.SetSubItem(i, 1, std::string(reason));
            needAdministrator_.insert(FoldFileName(location));
        }
    }
}

void ProblemWindow::Clear() {
    form_.Get(kProblemList).ClearRows();
    needAdministrator_.clear();
}

void ProblemWindow::Show() {
    // The advice to close programs and try again in Safe Mode is for files that could not be deleted,
    // not for places the removal refused to touch.
    const auto& rows = form_.Get(kProblemList).Rows();
    const bool onlyRefused =
        !rows.empty() && std::all_of(rows.begin(), rows.end(), [&](const ui::ListRow& row) {
            return !row.SubItem(1).empty() && needAdministrator_.count(FoldFileName(row.text)) == 0;
        });
    form_.Get("lblText", 0).SetVisible(!onlyRefused);
    form_.Get("lblText", 1).SetVisible(!onlyRefused);
    form_.Get("lblText", 2).SetVisible(onlyRefused);
    form_.SetCaption(context_.Message("MSG_DELETE_FAILED"));
    form_.Show(false);
}

void ProblemWindow::Hide() {
    if (form_.Loaded()) {
        form_.Hide();
    }
}

void ProblemWindow::CopyList() {
    std::string text;
    for (const std::string& entry : EntriesWithReasons()) {
        text += entry + "\r\n";
    }
    ISystem& system = context_.machine.system;
    system.SetClipboardText("");
    system.SetClipboardText(text);
}

} // namespace grimsweep
