// The scan report on the real machine under Wine: the file's bytes are the system code page's, and a
// new report takes the old one's place without leaving anything beside it.
#include <gtest/gtest.h>

#include "win32/temp_folder.h"

#include "app/main_window_controls.h"
#include "core/context.h"
#include "platform/win32/win32_machine.h"
#include "report/report_window.h"
#include "report/scan_report.h"
#include "ui/headless_host.h"
#include "ui/list_icons.h"

namespace grimsweep::win32 {
namespace {

class ReportOnWine : public TempFolderTest {
protected:
    ReportOnWine()
        : TempFolderTest("grimsweep-report-test"), context(machine.View(), host),
          window(host, std::string(kMainWindowName)) {
        BuildMainWindowControls(window);
        lists = std::make_unique<ScanLists>(window);
        context.brand.programName = "Grimsweep";
        context.brand.majorVersion = 3;
        context.brand.minorVersion = 1;
    }
    void SetUp() override {
        TempFolderTest::SetUp();
        context.dataFolder = folder;
    }

    Win32Machine machine;
    HeadlessHost host;
    Context context;
    ui::Form window;
    std::unique_ptr<ScanLists> lists;
    ScanState state;
};

TEST_F(ReportOnWine, NonAsciiThreatNamesAreWrittenInTheAnsiCodePage) {
    ASSERT_EQ(GetACP(), 1252u) << "the prefix runs with the English code page";
    lists->AddRemovalRow("Sp\xC3\xA4her \xE2\x82\xAC", ui::kIconFile, "C:\\M\xC3\xBCll\\x.exe", "");

    ASSERT_TRUE(MakeReport(context, window, *lists, state));

    const auto bytes = files.ReadFile(ReportPath(context));
    ASSERT_TRUE(bytes.has_value());
    EXPECT_NE(bytes->find("Sp\xE4her \x80\r\n\r\nC:\\M\xFCll\\x.exe\r\n\r\n\r\nTotal = 1\r\n"),
              std::string::npos);
    EXPECT_TRUE(bytes->ends_with("\r\n\r\n=====================End Of Report.\r\n"));
    // The viewer reads it back as the same text.
    const Skin skin;
    ReportWindow viewer(context, skin);
    host.onModal = [](ui::Form& form) { form.Get("cmdOk").Click(); };
    viewer.Show(window);
    EXPECT_NE(
        viewer.Window().Get("txtReport").Text().find("Sp\xC3\xA4her \xE2\x82\xAC\r\nC:\\M\xC3\xBCll\\x.exe"),
        std::string::npos);
}

TEST_F(ReportOnWine, ANewReportReplacesTheOldOneAndLeavesNothingBeside) {
    ASSERT_TRUE(files.WriteFile(ReportPath(context), "old report\r\n"));

    ASSERT_TRUE(MakeReport(context, window, *lists, state));

    const auto bytes = files.ReadFile(ReportPath(context));
    ASSERT_TRUE(bytes.has_value());
    EXPECT_NE(bytes->find("Total = 0\r\n"), std::string::npos);
    const auto entries = files.FindEntries(folder + "\\*");
    std::vector<std::string> names;
    for (const auto& entry : entries) {
        if (entry.name != "." && entry.name != "..") {
            names.push_back(entry.name);
        }
    }
    EXPECT_EQ(names, std::vector<std::string>{"Scan_Log.txt"});
}

} // namespace
} // namespace grimsweep::win32
