// The report viewer frmReport: the last scan report, single-spaced, in a read-only text box, with OK.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/context.h"
#include "shell/skin.h"
#include "ui/form.h"

namespace grimsweep {

inline constexpr std::string_view kReportWindowName = "frmReport";

// The text box's text for the report file's lines (UTF-8): a line that is blank after trimming adds one
// CR LF, any other line is added as it is. The report puts an empty line after each of its lines, so
// this shows it single-spaced.
std::string ReportViewerText(const std::vector<std::string>& lines);

class ReportWindow {
public:
    ReportWindow(Context& context, const Skin& skin);

    // Reads the report file and shows it modally, centred over `owner`.
    void Show(const ui::Form& owner);
    ui::Form& Window() { return form_; }

private:
    void OnLoad();

    Context& context_;
    const Skin& skin_;
    ui::Form form_;
};

} // namespace grimsweep
