#include "removal/problem_window.h"

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
} // namespace

ProblemWindow::ProblemWindow(Context& context, const Skin& skin)
    : context_(context), skin_(skin), form_(context.host, std::string(kProblemWindowName)) {
    using ui::ControlType;
    form_.SetCaption("Delete Failed");
    form_.Move(0, 0, 7200, 5400);
    ui::Control& text1 = form_.Add("lblText", ControlType::Label, nullptr, 0);
    text1.SetCaption(std::string(kText1));
    text1.Move(240, 180, 6600, 660);
    ui::Control& list = form_.Add(std::string(kProblemList), ControlType::ListView);
    list.AddColumn("Location", 6300);
    list.Move(240, 900, 6600, 2400);
    ui::Control& text2 = form_.Add("lblText", ControlType::Label, nullptr, 1);
    text2.SetCaption(std::string(kText2));
    text2.Move(240, 3420, 6600, 660);
    ui::Control& ok = form_.Add("cmdOk", ControlType::CommandButton);
    ok.SetCaption("Ok");
    ok.Move(5520, 4260, 1320, 420);
    ok.onClick = [this] { Hide(); };
    ui::Control& copy = form_.Add("cmdCopy", ControlType::CommandButton);
    copy.SetCaption("Copy List");
    copy.Move(4080, 4260, 1320, 420);
    copy.onClick = [this] { CopyList(); };
    form_.onLoad = [this] {
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

bool ProblemWindow::Add(const std::string& location) {
    ui::Control& list = form_.Get(kProblemList);
    for (const auto& row : list.Rows()) {
        if (EqualsFolded(row.text, location)) {
            return false;
        }
    }
    ui::ListRow row;
    row.text = location;
    list.AddRow(std::move(row));
    return true;
}

void ProblemWindow::Clear() {
    form_.Get(kProblemList).ClearRows();
}

void ProblemWindow::Show() {
    form_.Show(false);
}

void ProblemWindow::Hide() {
    if (form_.Loaded()) {
        form_.Hide();
    }
}

void ProblemWindow::CopyList() {
    std::string text;
    for (const std::string& entry : Entries()) {
        text += entry + "\r\n";
    }
    ISystem& system = context_.machine.system;
    system.SetClipboardText("");
    system.SetClipboardText(text);
}

} // namespace grimsweep
