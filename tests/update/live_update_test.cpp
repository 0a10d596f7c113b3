// Live Update in the main window on the simulated network and the virtual clock: the commands, the
// download window, the notice and its slide, the automatic update after 301 idle seconds.
#include <gtest/gtest.h>

#include <functional>

#include "../app/main_window_fixture.h"
#include "definitions/line_code.h"
#include "update/definition_service.h"
#include "update/service_addresses.h"

namespace grimsweep {
namespace {

using namespace settings;

class LiveUpdateTest : public MainWindowTest {
protected:
    LiveUpdateTest() {
        Open();
        sim.files.PutFolder(context->dataFolder);
        sim.files.PutFile(context->ApplicationFile(kServicesFileName),
                          "[Services]\r\nDefinitions=http://defs.test\r\n");
    }
    std::string Page(std::string_view page, std::string query = "") {
        return "http://defs.test" + std::string(page) + query;
    }
    std::string CurrentDatePage() { return Page(kCurrentDatePage, ProductQuery(*context)); }
    void PublishOneCookie() {
        sim.http.bodies[CurrentDatePage()] = "9/1/2006 4:00:00 PM PST";
        sim.http.bodies[Page(kDefinitionsPage, ProductQuery(*context) + "&date=3%2F16%2F2006")] =
            EncodeDefinitionLine("COOK") + "|ADD[DEF]" + EncodeDefinitionLine("trackmoth") + "=x";
        sim.http.bodies[Page(kDatePage)] = "9/2/2006 8:30:00 AM";
    }
    ui::Form& Notice() { return window->Update().Notice().Window(); }
};

TEST_F(LiveUpdateTest, AnUpdateWithChangesStoresTheDateAndTellsSoWhileNothingNewSaysTheDefinitionsAreRecent) {
    sim.http.bodies[CurrentDatePage()] = "3/16/2006 12:00:00 AM";
    Control("cmdUpdate").Click();
    EXPECT_EQ(Notice().Get("lblUpdateInfo").Caption(), context->messages.getMessages("MSG_RECENT_DEFS"));
    EXPECT_EQ(sim.http.requests.size(), 1u) << "nothing newer: no records asked for";
    EXPECT_FALSE(window->Update().Download().Window().Loaded()) << "the download window is unloaded";
    Notice().Get("cmdUpdateSuccesfullOK").Click();

    PublishOneCookie();
    bool busyDuring = false;
    host->onPump = [&] { busyDuring = busyDuring || !Control("cmdScanNow").Enabled(); };
    Control("cmdLiveUpdate").Click();
    host->onPump = nullptr;
    EXPECT_TRUE(busyDuring) << "no scan starts during the update";
    EXPECT_EQ(Notice().Get("lblUpdateInfo").Caption(), context->messages.getMessages("MSG_UPDATED_DEFS"));
    EXPECT_EQ(Control("lblDefVersion").Caption(), "9/2/2006 8:30:00 AM PST");
    EXPECT_EQ(Setting(kSectionOptions, kShow), "True");
    EXPECT_EQ(Setting(kSectionOptions, kRestart), "True");
    EXPECT_TRUE(Control("cmdLiveUpdate").Enabled());
    EXPECT_TRUE(Control("cmdScanNow").Enabled());
    EXPECT_FALSE(window->Busy().Busy());
}

// An update that brought nothing because it failed says why; only a whole answer with nothing newer says
// the definitions are the most recent. Nothing is changed by a failed one.
TEST_F(LiveUpdateTest, AFailedUpdateSaysSoAndNeverClaimsTheDefinitionsAreRecent) {
    const std::string records = Page(kDefinitionsPage, ProductQuery(*context) + "&date=3%2F16%2F2006");
    const struct {
        const char* name;
        std::function<void()> serve;
        const char* message;
    } cases[] = {
        {"unreachable", [] {}, "MSG_UPDATE_UNREACHABLE"},
        {"no date", [&] { sim.http.bodies[CurrentDatePage()] = "<html>maintenance</html>"; },
         "MSG_UPDATE_FAILED"},
        {"records cut",
         [&] {
             PublishOneCookie();
             sim.http.SetAnswers(records, {sim::SimAnswer::BreaksAfter(sim.http.bodies[records], 5)});
         },
         "MSG_UPDATE_FAILED"},
        {"records endless",
         [&] {
             PublishOneCookie();
             sim.http.SetAnswers(records, {sim::SimAnswer::Endless(sim.http.bodies[records])});
         },
         "MSG_UPDATE_FAILED"},
        {"records unsigned while a key is set",
         [&] {
             PublishOneCookie();
             sim.http.SetAnswers(records, {});
             sim.files.PutFile(context->ApplicationFile(kServicesFileName),
                               "[Services]\r\nDefinitions=http://defs.test\r\nDefinitionKey=04" +
                                   std::string(128, 'a') + "\r\n");
         },
         "MSG_UPDATE_UNVERIFIED"},
        {"cookie file not replaced",
         [&] {
             PublishOneCookie();
             sim.http.SetAnswers(records, {});
             sim.files.PutFile(context->ApplicationFile(kServicesFileName),
                               "[Services]\r\nDefinitions=http://defs.test\r\n");
             sim.files.SetMoveFails(context->DataFile("BlockedCookies.dat.new"), true);
         },
         "MSG_UPDATE_NOT_SAVED"},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        sim.http.bodies.clear();
        row.serve();
        const std::string before = sim.files.Contents(context->DataFile("BlockedCookies.dat"));
        Control("cmdUpdate").Click();
        EXPECT_EQ(Notice().Get("lblUpdateInfo").Caption(), context->messages.getMessages(row.message));
        EXPECT_EQ(sim.files.Contents(context->DataFile("BlockedCookies.dat")), before) << "nothing changed";
        Notice().Get("cmdUpdateSuccesfullOK").Click();
    }
}

// While the service is silent the window keeps answering, and Cancel ends the update at once: nothing
// applied, no notice, the commands back.
TEST_F(LiveUpdateTest, CancelDuringASlowFetchStopsTheUpdateBeforeAnythingIsApplied) {
    PublishOneCookie();
    const std::string records = Page(kDefinitionsPage, ProductQuery(*context) + "&date=3%2F16%2F2006");
    sim.http.SetAnswers(records, {sim::SimAnswer::Slow(sim.http.bodies[records], 1000)});
    int pumps = 0;
    host->onPump = [&] {
        if (++pumps == 20) {
            window->Update().Download().Window().Get("cmdCancel").Click();
        }
    };
    Control("cmdLiveUpdate").Click();
    host->onPump = nullptr;
    EXPECT_LT(pumps, 30) << "the wait ended at Cancel, not when the server answered";
    EXPECT_FALSE(sim.files.Exists(context->DataFile("BlockedCookies.dat")));
    EXPECT_EQ(Control("lblDefVersion").Caption().find("9/2/2006"), std::string::npos);
    EXPECT_FALSE(Notice().Loaded());
    EXPECT_FALSE(window->Update().Download().Window().Loaded());
    EXPECT_TRUE(Control("cmdLiveUpdate").Enabled());
    EXPECT_FALSE(window->Busy().Busy());
}

TEST_F(LiveUpdateTest, TheNoticeSlidesUpRestsSevenSecondsSlidesDownAndClosesStoringShowFalse) {
    sim.http.bodies[CurrentDatePage()] = "3/16/2006 12:00:00 AM";
    Control("cmdUpdate").Click();
    ui::Form& notice = Notice();
    ASSERT_TRUE(notice.Visible());
    const int target = window->Update().Notice().TargetTop();
    EXPECT_EQ(target, static_cast<int>(768 * 14.5 + 0.5) - (notice.Position().height + 100));
    // Borderless, its inside is the whole window; the inside in pixels ends at the right of the screen.
    EXPECT_EQ(notice.ScaleWidth(), notice.Position().width);
    EXPECT_EQ(notice.Position().left, static_cast<int>((1024 - notice.Position().width / 15.0) * 14.7));
    const int start = notice.Position().top;
    EXPECT_EQ(start, static_cast<int>(768 * 14.5 + 0.5) - static_cast<int>(40 * 14.5 + 0.5))
        << "the taskbar's top";
    host->Advance(10);
    EXPECT_EQ(notice.Position().top, start - 20);
    host->Advance(1000); // (start - target) / 20 steps of 10 ms
    EXPECT_LE(notice.Position().top, target);
    EXPECT_GT(notice.Position().top, target - 20) << "it stops at its resting place";
    const int resting = notice.Position().top;
    host->Advance(6000);
    EXPECT_EQ(notice.Position().top, resting) << "resting for seven seconds";
    EXPECT_TRUE(notice.Loaded());
    host->Advance(2000);
    EXPECT_FALSE(notice.Loaded()) << "closed once past 11167 twips, on the screen or not";
    EXPECT_EQ(Setting(kSectionOptions, kShow), "false");

    // OK while it slides up closes it at once.
    context->settings.Write(kSectionOptions, kShow, "True");
    Control("cmdUpdate").Click();
    host->Advance(30);
    Notice().Get("cmdUpdateSuccesfullOK").Click();
    EXPECT_FALSE(Notice().Loaded());
    EXPECT_EQ(Setting(kSectionOptions, kShow), "false");
}

TEST_F(LiveUpdateTest, BothWindowsAreBorderlessTopMostOutOfTheTaskListAndTakeNoActivation) {
    for (ui::Form* form : {&window->Update().Download().Window(), &Notice()}) {
        const ui::FormStyle& style = form->Style();
        EXPECT_TRUE(style.borderless && style.topMost && style.noActivate) << form->Name();
        EXPECT_FALSE(form->ShowInTaskList()) << form->Name();
    }
    EXPECT_FALSE(Control("cmdScanNow").Owner().Style().topMost) << "the main window is an ordinary one";
}

TEST_F(LiveUpdateTest, TheDownloadWindowBlinksAndCyclesItsHeadlineEveryFifteenTicks) {
    DownloadWindow& download = window->Update().Download();
    download.Window().Load();
    EXPECT_EQ(download.Window().Get("lblProduct").Caption(), "Connecting to server/downloading.....");
    std::vector<std::string> headlines;
    for (int tick = 0; tick < 16; ++tick) {
        download.Blink();
        headlines.push_back(download.Window().Get("lblProduct").Caption());
        EXPECT_NE(download.Window().Get("picUp").Visible(), download.Window().Get("picDown").Visible());
    }
    EXPECT_EQ(headlines[0], "Connecting to the Server.");
    EXPECT_EQ(headlines[1], "Connecting to server.....");
    EXPECT_EQ(headlines[6], "Successfully sent the request.");
    EXPECT_EQ(headlines[7], "Connecting to server.....") << "7 keeps the blink step's headline";
    EXPECT_EQ(headlines[8], "Receiving a response from the Server.");
    EXPECT_EQ(headlines[14], "Sending and receiving data, please wait.");
    EXPECT_EQ(headlines[15], "Connecting to the Server.") << "the cycle starts again";
    download.Window().Get("cmdCancel").Click();
    EXPECT_FALSE(download.Window().Loaded());
}

TEST_F(LiveUpdateTest, TheAutomaticUpdateRunsOnTheThreeHundredFirstSecondWithoutAScan) {
    PublishOneCookie();
    Control("timUpdate").SetEnabled(true);
    Control("cmdScanNow").SetEnabled(false); // a scan runs for the first 100 seconds
    host->Advance(100'000);
    EXPECT_EQ(window->Update().IdleSeconds(), 0);
    Control("cmdScanNow").SetEnabled(true);
    host->Advance(300'000);
    EXPECT_TRUE(sim.http.requests.empty()) << "300 idle seconds: not yet";
    host->Advance(1'000);
    EXPECT_FALSE(sim.http.requests.empty());
    EXPECT_FALSE(Control("timUpdate").Enabled()) << "once per start";
    EXPECT_EQ(Control("lblDefVersion").Caption(), "9/2/2006 8:30:00 AM PST");
}

} // namespace
} // namespace grimsweep
