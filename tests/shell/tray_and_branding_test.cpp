#include "app/main_window_controls.h"
#include "app/main_window_fixture.h"
#include "app/splash.h"
#include "shell/help_launcher.h"
#include "shell/skin.h"
#include "shell/website_opener.h"

namespace grimsweep {
namespace {

using namespace settings;

TEST_F(MainWindowTest, SplashHandsOverAfterSeventyFiveTicks) {
    Splash splash(*context, *window);
    host->Answer(MessageBoxAnswer::No);
    splash.Show();
    EXPECT_TRUE(splash.Window().Visible());
    host->Advance(148);
    EXPECT_FALSE(window->Window().Loaded());
    host->Advance(2);
    EXPECT_TRUE(window->Window().Visible());
    EXPECT_FALSE(splash.Window().Visible());
    EXPECT_TRUE(splash.Window().Loaded()); // hidden, not unloaded
    host->Advance(1000);
    EXPECT_EQ(splash.Ticks(), 150);
}

TEST_F(MainWindowTest, TrayPopupSlidesUpHoldsWhileUsedAndSlidesAway) {
    Open();
    Control("Command5").Click();
    window->OnTrayMessage(kTrayLeftDown);
    ui::Form* popup = host->FindForm("frmMenuPopUp");
    ASSERT_NE(popup, nullptr);
    const int screen = 768 * 15;
    EXPECT_EQ(popup->Position().top, screen - 40 * 15); // at the taskbar's top edge
    EXPECT_EQ(popup->Get("lblName").Caption(), "Grimsweep");
    EXPECT_TRUE(popup->Get("mnuMaxmimaize").Enabled());
    EXPECT_TRUE(popup->Get("mnuClose").Enabled());

    host->Advance(200);
    const int target = screen - (popup->Position().height + 100);
    EXPECT_LE(popup->Position().top, target);
    EXPECT_GT(popup->Position().top, target - 80);

    // Mouse moves keep it up; six idle seconds start the slide down.
    host->Advance(4000);
    popup->onMouseMove(100);
    host->Advance(5000);
    EXPECT_TRUE(popup->Loaded());
    host->Advance(2000);
    host->Advance(200);
    EXPECT_FALSE(popup->Loaded());
}

TEST_F(MainWindowTest, TrayPopupCommandsAndExitWhileScanning) {
    Open();
    Control("Command5").Click();
    Control("cmdResults").SetEnabled(false);
    Control("cmdSettings").SetEnabled(false);
    window->OnTrayMessage(kTrayRightDown);
    ui::Form* popup = host->FindForm("frmMenuPopUp");
    ASSERT_NE(popup, nullptr);
    EXPECT_FALSE(popup->Get("mnuClose").Enabled());

    Control("cmdResults").SetEnabled(true);
    window->OnTrayMessage(kTrayLeftDown);
    EXPECT_TRUE(popup->Get("mnuClose").Enabled());
    popup->Get("mnuMaxmimaize").Click();
    EXPECT_TRUE(window->Window().Visible());
    EXPECT_TRUE(popup->Get("tmrPopDown").Enabled());

    window->OnTrayMessage(kTrayLeftDown);
    EXPECT_FALSE(popup->Get("mnuMaxmimaize").Enabled()); // the window is showing
    popup->Get("mnuClose").Click();
    EXPECT_EQ(Setting(kSectionOptions, kStatus), "STOPPED");
    EXPECT_FALSE(sim.shell.iconShown);
    EXPECT_TRUE(host->quitRequested);
}

TEST(TrayIcon, TipsAreCutToTheFieldWithoutSplittingACharacter) {
    EXPECT_EQ(FitTrayTip(std::string(70, 'a')).size(), 63u);
    const std::string accented = std::string(62, 'a') + "\xC3\xA9\xC3\xA9";
    EXPECT_EQ(FitTrayTip(accented), std::string(62, 'a') + "\xC3\xA9");
    EXPECT_EQ(FitTrayTip("Grimsweep"), "Grimsweep");
}

TEST_F(MainWindowTest, WebsiteOpensWithSchemeAndKeepsTheProgramAliveUntilItCloses) {
    EXPECT_EQ(WebAddress("www.lanternfish-software.example"), "http://www.lanternfish-software.example");
    EXPECT_EQ(WebAddress("HTTPS://secure.example"), "HTTPS://secure.example");
    Open();
    Control("cmdWebsite").Click();
    ASSERT_FALSE(sim.shell.opened.empty());
    EXPECT_EQ(sim.shell.opened.back(), "|http://www.lanternfish-software.example");

    window->Window().RequestClose();
    EXPECT_FALSE(host->quitRequested);
    host->Advance(1000);
    EXPECT_TRUE(host->quitRequested);
}

// The help opens as Help.chm, or as the plain pages where no viewer opens that; the first-run mark waits
// for one of them to open.
TEST_F(MainWindowTest, FirstRunHelpWaitsForAViewerToOpen) {
    Open();
    const std::string chm = "C:\\Program Files\\Grimsweep\\Help.chm";
    const std::string pages = "C:\\Program Files\\Grimsweep\\help\\index.html";
    EXPECT_FALSE(ShowHelp(*context)) << "no help at all";
    sim.files.PutFile(chm, "ITSF");
    sim.shell.unopenable = {chm};
    EXPECT_FALSE(ShowHelp(*context)) << "no viewer, no pages";
    EXPECT_EQ(Setting(kSectionSettings, kShowHelp), "<unset>");
    sim.files.PutFile(pages, "<html>");
    EXPECT_TRUE(ShowHelp(*context));
    EXPECT_EQ(sim.shell.opened.back(), "open|" + pages);
    EXPECT_EQ(Setting(kSectionSettings, kShowHelp), "0");
    sim.shell.unopenable.clear();
    EXPECT_TRUE(ShowHelp(*context));
    EXPECT_EQ(sim.shell.opened.back(), "open|" + chm);
}

TEST_F(MainWindowTest, AboutShowsTheBrandAndSkinColoursFollowTheControlType) {
    int shown = 0;
    host->onModal = [&](ui::Form& about) {
        if (about.Name() != "frmAbout") {
            return; // the language window of the first start
        }
        ++shown;
        EXPECT_EQ(about.Caption(), "About Grimsweep");
        EXPECT_EQ(about.Get("lblVersion").Caption(), "Version 3.1");
        EXPECT_EQ(about.Get("lblWebsite").Caption(), "www.lanternfish-software.example");
        EXPECT_EQ(about.Get("cmdOK").BackColor(), window->SkinInUse().first);
        EXPECT_EQ(about.Get("picLogo").Picture(), kWindowIconResource) << "the program icon";
        // Centred over the main window, wherever the user has put it.
        const ui::Bounds& main = window->Window().Position();
        const ui::Bounds& box = about.Position();
        EXPECT_EQ(box.left + box.width / 2, main.left + main.width / 2);
        EXPECT_EQ(box.top + box.height / 2, main.top + main.height / 2);
    };
    Open();
    window->Window().Move(3000, 1500, 10200, 7800);
    Control("mnuAboutSoftware").Click();
    EXPECT_EQ(shown, 1);

    EXPECT_EQ(Control("cmdScan").BackColor(), window->SkinInUse().first);
    EXPECT_EQ(Control("lvwSpywareFound").ForeColor(), window->SkinInUse().second);
    EXPECT_FALSE(Control("Label22").BackColor().has_value());
}

TEST_F(MainWindowTest, WindowsFromVistaOnHaveTheirRegionResetBeforeSkinningAndXpNot) {
    Open(); // the simulated machine is Windows XP
    EXPECT_EQ(window->Window().RegionResets(), 0);

    ReleaseInstanceLock();
    sim.system.osVersion = {kPlatformNt, 6, 0, 6000};
    Start();
    Open();
    EXPECT_EQ(window->Window().RegionResets(), 1);
    EXPECT_FALSE(NeedsRegionReset({kPlatformWin9x, 6, 0, 0})); // not the NT family
}

} // namespace
} // namespace grimsweep
