#include "report/scan_report.h"

#include <utility>

#include "definitions/exclusion_list.h"
#include "platform/text_files.h"
#include "removal/quarantine_log.h"

namespace grimsweep {

namespace {

constexpr std::string_view kRule = "-----------------------";
constexpr std::string_view kTitlePad = "                   "; // 19 blanks

// Collects the report's bytes; every Write ends its text with CR LF, as each line of the file does.
class ReportWriter {
public:
    explicit ReportWriter(ISystem& system) : system_(system) {}

    // Program text, converted to the code page.
    ReportWriter& Text(std::string_view utf8) {
        bytes_ += system_.Utf8ToCodePage(std::string(utf8));
        return *this;
    }
    // Bytes that are already in the code page (lines of the program's own text files).
    ReportWriter& Raw(std::string_view bytes) {
        bytes_ += bytes;
        return *this;
    }
    ReportWriter& Break() { return Raw(kCrLf); }
    void Write() { Break(); }

    std::string Take() { return std::move(bytes_); }

private:
    ISystem& system_;
    std::string bytes_;
};

// The quarantine log with an empty line after each entry; empty when there is no log.
std::string QuarantineText(Context& context) {
    std::string text;
    if (auto lines = ReadRawLines(context.machine.files, QuarantineLogPath(context))) {
        for (const std::string& line : *lines) {
            text += line;
            text += kCrLf;
            text += kCrLf;
        }
    }
    return text;
}

// The exclusion entries one to a line, leaving out empty and single-blank lines.
std::string ExclusionText(Context& context) {
    std::string text;
    if (auto lines = ReadRawLines(context.machine.files, context.DataFile(kExclusionFile))) {
        for (const std::string& line : *lines) {
            if (line.empty() || line == " ") {
                continue;
            }
            text += line;
            text += kCrLf;
        }
    }
    return text;
}

} // namespace

std::string ReportPath(const Context& context) {
    return context.DataFile(kReportFileName);
}

std::string ComposeReport(Context& context, const ui::Form& mainWindow, const ScanLists& lists,
                          const ScanState& state) {
    ISystem& system = context.machine.system;
    const BrandValues& brand = context.brand;
    const std::string quarantine = QuarantineText(context);
    const std::string exclusions = ExclusionText(context);

    ReportWriter report(system);
    report.Break().Write();
    report.Raw(kTitlePad)
        .Text(brand.programName)
        .Text("v" + std::to_string(brand.majorVersion) + "." + std::to_string(brand.minorVersion))
        .Text("   Scan Report.")
        .Break()
        .Write();
    report.Break().Write();
    report.Text(kRule).Break().Write();
    report.Text(" Scan Started at  : ").Text(system.FormatDateTimeForDisplay(state.started)).Break().Write();
    report.Text(" Scan Finished at : ").Text(system.FormatDateTimeForDisplay(state.finished)).Break().Write();
    report.Text(kRule).Break().Write();
    for (int i = 0; i < 3; ++i) {
        report.Break().Write();
    }
    report.Text(" 1)Total Number of Cookies and Processes inspected: ")
        .Text(mainWindow.Get("lblMemoryInspected").Caption())
        .Break()
        .Write();
    report.Text(" 2)Total Number of Registry entries inspected: ")
        .Text(mainWindow.Get("lblRegistryInspected").Caption())
        .Break()
        .Write();
    report.Text(" 3)Total Number of Files/Folders inspected: ")
        .Text(mainWindow.Get("lblFilesFolderInspected").Caption())
        .Break()
        .Write();
    report.Break().Write();
    report.Text("[Threats Detected]").Break().Break().Write();
    const ui::Control& removal = lists.Removal();
    for (const ui::ListRow& row : removal.Rows()) {
        report.Text(row.text).Break().Write();
        report.Text(row.SubItem(1)).Break().Break().Write();
    }
    report.Text("Total = " + std::to_string(removal.Rows().size())).Break().Write();
    if (!exclusions.empty()) {
        report.Break().Text("[Files Currently Excluded]").Break().Break().Raw(exclusions).Break().Write();
    }
    if (!quarantine.empty()) {
        report.Break()
            .Text("[Current Quarantine Log]")
            .Break()
            .Break()
            .Raw(quarantine)
            .Break()
            .Break()
            .Write();
    }
    report.Break().Write();
    report.Text(kReportEndMarker).Write();
    return report.Take();
}

bool MakeReport(Context& context, const ui::Form& mainWindow, const ScanLists& lists,
                const ScanState& state) {
    return ReplaceFileContents(context.machine.files, ReportPath(context),
                               ComposeReport(context, mainWindow, lists, state));
}

} // namespace grimsweep
