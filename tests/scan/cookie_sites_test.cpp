#include "scan/cookie_sites.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_file_system.h"

namespace grimsweep {
namespace {

constexpr const char* kFolder = "C:\\Users\\ann\\Cookies\\";

TEST(SiteOfCookieNameTest, CutsAtTheCounterOrElseTheExtension) {
    EXPECT_EQ(SiteOfCookieName("C:\\Cookies\\ann@tracker[2].txt"), "tracker");
    EXPECT_EQ(SiteOfCookieName("C:\\Cookies\\ann@tracker(3).txt"), "tracker");
    // A round bracket wins over an earlier square one.
    EXPECT_EQ(SiteOfCookieName("ann@a[1]b(2).txt"), "a[1]b");
    EXPECT_EQ(SiteOfCookieName("ann@ads.example.txt"), "ads.example");
    EXPECT_EQ(SiteOfCookieName("ann@x@y.txt"), "x@y");
    EXPECT_EQ(SiteOfCookieName("ann@noextension"), "noextension");
    EXPECT_EQ(SiteOfCookieName("C:\\Cookies\\index.dat"), "");
}

class CookieSiteTest : public ::testing::Test {
protected:
    std::string Put(const std::string& name, const std::string& text) {
        const auto path = kFolder + name;
        files.PutFile(path, text);
        return path;
    }
    sim::SimFileSystem files;
};

TEST_F(CookieSiteTest, TakesTheHostBeforeTheSlashFromTheFieldThatNamesTheSite) {
    const auto path = Put("ann@tracker[1].txt", "id\r\n42,tracker\r\nads.tracker.com/path/\r\n1536\r\n");
    // "tracker" alone has no slash after it; the reading goes on to the host field.
    EXPECT_EQ(CookieSite(files, path), "tracker.com");
    EXPECT_EQ(CookieSite(files, Put("ann@tracker[2].txt", "x=www.tracker.net/,y/")), "tracker.net");
    EXPECT_EQ(CookieSite(files, Put("ann@tracker[3].txt", "a\rb\ntracker.org/")), "tracker.org");
}

TEST_F(CookieSiteTest, AnswersFalseWhenTheSiteCannotBeFound) {
    EXPECT_EQ(CookieSite(files, Put("index.dat", "tracker.com/")), kNoCookieSite);
    EXPECT_EQ(CookieSite(files, kFolder + std::string("ann@absent[1].txt")), kNoCookieSite);
    // The site's name is matched with its case; a slash before the name does not count.
    EXPECT_EQ(CookieSite(files, Put("ann@tracker[4].txt", "TRACKER.com/\r\n/tracker")), kNoCookieSite);
    // A comma ends the field before the slash.
    EXPECT_EQ(CookieSite(files, Put("ann@tracker[5].txt", "tracker.com,/")), kNoCookieSite);
    const auto hidden = kFolder + std::string("ann@tracker[6].txt");
    files.PutFile(hidden, "tracker.com/", kAttrHidden);
    EXPECT_EQ(CookieSite(files, hidden), kNoCookieSite);
}

TEST_F(CookieSiteTest, AFileLargerThanTheLimitIsNotRead) {
    const std::string host = "tracker.com/";
    const std::string atLimit = std::string(kLargestCookieFile - host.size(), ' ') + host;
    EXPECT_EQ(CookieSite(files, Put("ann@tracker[7].txt", atLimit)), "tracker.com");
    EXPECT_EQ(CookieSite(files, Put("ann@tracker[8].txt", atLimit + "\n")), kNoCookieSite);
}

TEST(TrimCookieSiteTest, DropsTheTopLabelThenWww) {
    EXPECT_EQ(TrimCookieSite("tracker.com"), "tracker");
    EXPECT_EQ(TrimCookieSite("WWW.tracker.com"), "tracker");
    EXPECT_EQ(TrimCookieSite("ads.tracker.com"), "ads.tracker");
    EXPECT_EQ(TrimCookieSite("www.com"), "www");
    EXPECT_EQ(TrimCookieSite("localhost"), "localhost");
    EXPECT_EQ(TrimCookieSite(kNoCookieSite), kNoCookieSite);
}

TEST(IsBlockedSiteTest, AnEntryNamesTheSiteWithoutItsTopLabelAndStar) {
    const std::vector<std::string> list{"*tracker.com", "ads.example.net", ""};
    EXPECT_TRUE(IsBlockedSite(list, "tracker"));
    EXPECT_TRUE(IsBlockedSite(list, "ads.example"));
    // A host of three labels is blocked only by an entry naming those three labels.
    EXPECT_FALSE(IsBlockedSite({"tracker.com"}, "ads.tracker"));
    // Only entries containing the site with its case are candidates; the comparison then ignores case.
    EXPECT_FALSE(IsBlockedSite(list, "Tracker"));
    EXPECT_TRUE(IsBlockedSite({"*TRACKER.tracker"}, "tracker"));
    // Only the first star goes.
    EXPECT_FALSE(IsBlockedSite({"**tracker.com"}, "tracker"));
    // The star is removed only after the containment test.
    EXPECT_FALSE(IsBlockedSite({"track*er.com"}, "tracker"));
    EXPECT_FALSE(IsBlockedSite(list, kNoCookieSite));
    EXPECT_FALSE(IsBlockedSite({}, "tracker"));
}

TEST(IsBlockedSiteTest, WholeCookieMatchesItsEntryWithOrWithoutWww) {
    sim::SimFileSystem files;
    const std::vector<std::string> list{"*tracker.com"};
    const std::string plain = std::string(kFolder) + "ann@tracker[1].txt";
    const std::string www = std::string(kFolder) + "ann@www.tracker[2].txt";
    files.PutFile(plain, "uid\r\nabc\r\ntracker.com/\r\n");
    files.PutFile(www, "uid\r\nabc\r\nwww.tracker.com/\r\n");
    EXPECT_TRUE(IsBlockedSite(list, TrimCookieSite(CookieSite(files, plain))));
    EXPECT_TRUE(IsBlockedSite(list, TrimCookieSite(CookieSite(files, www))));
}

} // namespace
} // namespace grimsweep
