#include "report/report_window.h"

#include <vector>

#include "platform/text_files.h"
#include "report/scan_report.h"

namespace grimsweep {

namespace {

void AppendViewerLine(std::string& text, std::string_view line) {
    if (line.find_first_not_of(' ') == std::string_view::npos) {
        text += kCrLf;
    } else {
        text += line;
    }
}

} // namespace

std::string ReportViewerText(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        AppendViewerLine(text, line);
    }
    return text;
}

ReportWindow::ReportWindow(Context& context, const Skin& skin)
    : context_(context), skin_(skin), form_(context.host, std::string(kReportWindowName)) {
    using ui::ControlType;
    form_.Move(0, 0, 9000, 7200);
    ui::Control& text = form_.Add("txtReport", ControlType::TextBox);
    text.SetMultiLine(true);
    text.SetLocked(true);
    text.Move(120, 120, 8640, 5880);
    ui::Control& ok = form_.Add("cmdOk", ControlType::CommandButton);
    ok.SetCaption("OK");
    ok.Move(7560, 6180, 1200, 420);
    ok.onClick = [this] { form_.Unload(); };
    form_.onLoad = [this] { OnLoad(); };
}

void ReportWindow::Show(const ui::Form& owner) {
    ui::CentreOver(form_, owner);
    form_.Show(true);
}

void ReportWindow::OnLoad() {
    ui::Control& text = form_.Get("txtReport");
    text.SetText("");
    // Read each time the window opens: the report may have changed since.
    if (auto lines = ReadTextLines(context_.machine.files, context_.machine.system, ReportPath(context_))) {
        std::string shown;
        for (const std::string& line : *lines) {
            AppendViewerLine(shown, line);
            context_.host.PumpMessages();
        }
        text.SetText(std::move(shown));
    }
    form_.SetCaption(context_.Message("MSG_LOG_TITLE"));
    form_.SetIconResource(std::string(kWindowIconResource));
    if (context_.brand.skinningEnabled) {
        ApplySkin(form_, skin_);
    }
}

} // namespace grimsweep
