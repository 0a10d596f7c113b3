#include "scan/cookie_scan.h"

#include <gtest/gtest.h>

#include "common/text.h"
#include "definitions/definition_files.h"
#include "scan/scan_fixture.h"
#include "ui/list_icons.h"

namespace grimsweep {
namespace {

class CookieScanTest : public ScanStageTest {
protected:
    CookieScanTest() : folder(*sim.shell.SpecialFolderPath(kCsidlCookies)) {
        state.stagePrefix = "Inspecting Cookies: ";
    }

    // A cookie file whose text names the host and path as the browser writes them.
    std::string PutCookie(const std::string& name, const std::string& site) {
        const std::string path = folder + "\\" + name;
        sim.files.PutFile(path, "id\n42\n" + site + "/\n1536\n*\n");
        return path;
    }

    std::string folder;
};

TEST_F(CookieScanTest, ListsEveryBlockedCookieFileWithItsOwnRows) {
    PutDefinitions(kBlockedCookiesFile, {"*adnet.com", "tracker.net", ""});
    const auto first = PutCookie("ann@adnet[1].txt", "adnet.com");
    const auto second = PutCookie("ann@adnet[2].txt", "www.adnet.com");
    const auto third = PutCookie("ann@tracker(1).txt", "tracker.net");
    PutCookie("ann@news[1].txt", "news.org");

    ScanCookies(run);

    EXPECT_EQ(Texts(lists.Found()),
              (std::vector<std::string>{"Cookie Found: ann@adnet[1].txt", "Cookie Found: ann@adnet[2].txt",
                                        "Cookie Found: ann@tracker(1).txt"}));
    EXPECT_EQ(lists.Found().Rows()[0].smallIcon, ui::kIconCookie);
    EXPECT_EQ(Texts(lists.Cookies()), (std::vector<std::string>{first, second, third}));
    ASSERT_EQ(lists.Removal().Rows().size(), 3u);
    const auto& row = lists.Removal().Rows()[1];
    EXPECT_EQ(row.text, "Cookie: ann@adnet[2].txt");
    EXPECT_EQ(row.smallIcon, ui::kIconCookie);
    EXPECT_EQ(row.subItems, (std::vector<std::string>{second, "Tracking Cookie"}));
    EXPECT_EQ(state.counters.threatsFound, 3);
    EXPECT_EQ(state.counters.cookiesAndProcesses, 4);
    EXPECT_EQ(state.counters.traces, 0);
    EXPECT_EQ(feedback.pumps, 4);
}

TEST_F(CookieScanTest, SiteMatchesOnlyAnEntryNamingItsLabels) {
    PutDefinitions(kBlockedCookiesFile, {"adnet.com", "cdn.media.com"});
    PutCookie("ann@ads[1].txt", "ads.adnet.com"); // three labels: "adnet.com" does not name them
    PutCookie("ann@cdn[1].txt", "cdn.media.com");
    PutCookie("ann@nosite.txt", "other.com");                // the name's site is not in the text
    sim.files.PutFile(folder + "\\index.dat", "adnet.com/"); // no "@": no site
    sim.files.PutFile(folder + "\\ann@adnet[3].txt", "adnet.com/", kAttrArchive | kAttrHidden);

    ScanCookies(run);

    EXPECT_EQ(Texts(lists.Found()), (std::vector<std::string>{"Cookie Found: ann@cdn[1].txt"}));
    EXPECT_EQ(state.counters.cookiesAndProcesses, 5); // every file counts, hidden ones too
}

TEST_F(CookieScanTest, ExcludedCookieShowsItsFullPathAndIsNotRemovable) {
    PutDefinitions(kBlockedCookiesFile, {"adnet.com"});
    const auto path = PutCookie("ann@adnet[1].txt", "adnet.com");
    definitions.exclusions.Assign(ToUpper(path) + "|");

    ScanCookies(run);

    EXPECT_EQ(Texts(lists.Found()), (std::vector<std::string>{"EXCLUDED: " + path}));
    EXPECT_EQ(lists.Found().Rows()[0].smallIcon, ui::kIconExcluded);
    EXPECT_TRUE(lists.Cookies().Rows().empty());
    EXPECT_TRUE(lists.Removal().Rows().empty());
    EXPECT_EQ(state.counters.threatsFound, 0);
}

TEST_F(CookieScanTest, ReportsEachFileWithTheStageShareAndLeavesTheOverallBar) {
    PutCookie("ann@a[1].txt", "a.com");
    PutCookie("ann@b[1].txt", "b.com");
    sim.files.PutFolder(folder + "\\Low"); // folders are not cookie files

    ScanCookies(run); // no BlockedCookies.dat: nothing is listed, every file still counts

    EXPECT_EQ(feedback.statuses, (std::vector<std::string>{"Inspecting Cookies: \r\nann@a[1].txt",
                                                           "Inspecting Cookies: \r\nann@b[1].txt"}));
    EXPECT_EQ(feedback.stagePercents, (std::vector<double>{50, 100}));
    EXPECT_EQ(feedback.overallPercents, (std::vector<double>{-1, -1}));
    EXPECT_EQ(state.counters.cookiesAndProcesses, 2);
    EXPECT_TRUE(lists.Found().Rows().empty());
}

TEST_F(CookieScanTest, NothingMovesWithoutCookieFilesOrCookieFolder) {
    PutDefinitions(kBlockedCookiesFile, {"adnet.com"});
    ScanCookies(run); // the folder exists and is empty
    sim.shell.folders.erase(kCsidlCookies);
    sim.files.PutFile(folder + "\\ann@adnet[1].txt", "adnet.com/");
    ScanCookies(run); // the shell has no cookie folder

    EXPECT_EQ(state.counters.cookiesAndProcesses, 0);
    EXPECT_TRUE(feedback.statuses.empty());
    EXPECT_EQ(feedback.pumps, 0);
    EXPECT_TRUE(lists.Found().Rows().empty());
}

TEST_F(CookieScanTest, StopEndsThePhaseBeforeTheNextFile) {
    PutDefinitions(kBlockedCookiesFile, {"adnet.com"});
    PutCookie("ann@adnet[1].txt", "adnet.com");
    PutCookie("ann@adnet[2].txt", "adnet.com");
    feedback.onPump = [&] { state.stopRequested = true; };

    ScanCookies(run);

    EXPECT_EQ(state.counters.cookiesAndProcesses, 1);
    EXPECT_EQ(lists.Removal().Rows().size(), 1u);
}

TEST_F(CookieScanTest, OutsideAUserScanTheFirstFindingEndsThePhaseWithoutRemovalRows) {
    PutDefinitions(kBlockedCookiesFile, {"adnet.com"});
    PutCookie("ann@adnet[1].txt", "adnet.com");
    PutCookie("ann@adnet[2].txt", "adnet.com");
    PutCookie("ann@other[1].txt", "other.com");
    feedback.userScan = false;
    state.stopRequested = true; // a stop request counts only while a user scan runs

    ScanCookies(run);

    EXPECT_EQ(Texts(lists.Found()), (std::vector<std::string>{"Cookie Found: ann@adnet[1].txt"}));
    EXPECT_TRUE(lists.Cookies().Rows().empty());
    EXPECT_TRUE(lists.Removal().Rows().empty());
    EXPECT_EQ(state.counters.threatsFound, 0);
    EXPECT_EQ(state.counters.cookiesAndProcesses, 1);
}

} // namespace
} // namespace grimsweep
