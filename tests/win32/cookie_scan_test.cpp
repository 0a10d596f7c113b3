// The cookie phase on the real machine: cookie files planted in the prefix's own cookie folder are found
// through the real shell and file system.
#include "scan/cookie_scan.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "win32/temp_folder.h"

#include "definitions/definition_files.h"
#include "definitions/line_code.h"
#include "platform/win32/win32_machine.h"
#include "scan/scan_fixture.h"
#include "ui/headless_host.h"

namespace grimsweep::win32 {
namespace {

class Win32CookieScanTest : public TempFolderTest {
protected:
    Win32CookieScanTest()
        : TempFolderTest("grimsweep-cookie-test"), context(machine.View(), host),
          macros(PathMacroTable::Capture(machine.shell)) {
        AddScanLists(form);
    }

    void SetUp() override {
        TempFolderTest::SetUp();
        const auto path = machine.shell.SpecialFolderPath(kCsidlCookies);
        ASSERT_TRUE(path && !path->empty());
        cookies = *path;
        if (!files.FolderExists(cookies)) { // a fresh prefix may not have made it yet
            ASSERT_TRUE(files.CreateFolder(cookies));
        }
        context.dataFolder = folder;
    }

    void TearDown() override {
        for (const auto& path : planted) {
            files.DeleteFile(path);
        }
        TempFolderTest::TearDown();
    }

    std::string Plant(const std::string& name, const std::string& text) {
        const std::string path = cookies + "\\" + name;
        EXPECT_TRUE(files.WriteFile(path, text));
        planted.push_back(path);
        return path;
    }

    Win32Machine machine;
    HeadlessHost host;
    Context context;
    DefinitionState definitions;
    PathMacroTable macros;
    ScanState state;
    ui::Form form{host, "frmLists"};
    RecordingFeedback feedback;
    std::string cookies;
    std::vector<std::string> planted;
};

TEST_F(Win32CookieScanTest, FindsBlockedCookiesInTheRealCookieFolder) {
    ASSERT_TRUE(files.WriteFile(context.DataFile(kBlockedCookiesFile),
                                EncodeDefinitionLine("*gsadnet.com") + "\r\n" +
                                    EncodeDefinitionLine("gstracker.net") + "\r\n"));
    const auto blocked = Plant("grimsweeptest@gsadnet[1].txt", "id\n42\nwww.gsadnet.com/\n1536\n*\n");
    const auto excluded = Plant("grimsweeptest@gstracker[1].txt", "id\n7\ngstracker.net/\n*\n");
    Plant("grimsweeptest@gsnews[1].txt", "id\n1\ngsnews.org/\n*\n");
    const auto hidden = Plant("grimsweeptest@gsadnet[2].txt", "id\n42\ngsadnet.com/\n*\n");
    ASSERT_TRUE(files.SetAttributes(hidden, kAttrHidden));
    definitions.exclusions.Assign(excluded + "|");

    ScanLists lists(form);
    ScanRun run{context, definitions, macros, state, lists, feedback, {}};
    ScanCookies(run);

    // The folder may hold cookies of its own, in the file system's order.
    std::vector<std::string> found;
    for (const auto& row : lists.Found().Rows()) {
        if (row.text.find("grimsweeptest@") != std::string::npos) {
            found.push_back(row.text);
        }
    }
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, (std::vector<std::string>{"Cookie Found: grimsweeptest@gsadnet[1].txt",
                                               "EXCLUDED: " + excluded}))
        << "cookie folder " << cookies;
    ASSERT_EQ(lists.Cookies().Rows().size(), 1u);
    EXPECT_EQ(lists.Cookies().Rows()[0].text, blocked);
    ASSERT_EQ(lists.Removal().Rows().size(), 1u);
    EXPECT_EQ(lists.Removal().Rows()[0].subItems, (std::vector<std::string>{blocked, "Tracking Cookie"}));
    EXPECT_EQ(state.counters.threatsFound, 1);
    EXPECT_GE(state.counters.cookiesAndProcesses, 4);
}

} // namespace
} // namespace grimsweep::win32
