#include <gtest/gtest.h>

#include <stdexcept>

#include "ui/form.h"
#include "ui/headless_host.h"

namespace grimsweep::ui {
namespace {

TEST(FormModel, AssigningCheckBoxesAndOptionsRunsTheirClickHandlersLikeAUserClick) {
    HeadlessHost host;
    Form form(host, "frmTest");
    Control& frame = form.Add("frmView", ControlType::Frame, nullptr, 0);
    Control& check = form.Add("chkMakeLog", ControlType::CheckBox, &frame);
    Control& on = form.Add("optOn", ControlType::OptionButton, &frame);
    Control& off = form.Add("optOff", ControlType::OptionButton, &frame);
    Control& elsewhere = form.Add("optOther", ControlType::OptionButton);
    std::vector<std::string> clicks;
    check.onClick = [&] { clicks.push_back("check" + std::to_string(check.Value())); };
    on.onClick = [&] { clicks.push_back("on"); };
    off.onClick = [&] { clicks.push_back("off"); };
    elsewhere.SetValue(1);

    check.SetValue(1);
    check.SetValue(1); // no change, no click
    check.Click();
    on.SetValue(1);
    off.Click();
    on.SetValue(0); // clearing an option is not a click
    EXPECT_EQ(clicks, (std::vector<std::string>{"check1", "check0", "on", "off"}));
    EXPECT_EQ(on.Value(), 0);
    EXPECT_EQ(off.Value(), 1);
    EXPECT_EQ(elsewhere.Value(), 1); // another container is another group

    check.SetEnabled(false);
    check.Click(); // a disabled control ignores clicks
    EXPECT_EQ(clicks.size(), 4u);
}

TEST(FormModel, AMouseClickIsAPressThenAClickUnlessThePressHandlerTookIt) {
    HeadlessHost host;
    Form form(host, "frmTest");
    Control& button = form.Add("cmdUpdate", ControlType::CommandButton);
    std::vector<std::string> events;
    button.onClick = [&] { events.push_back("click"); };
    button.ClickWithMouse({});
    EXPECT_EQ(events, std::vector<std::string>{"click"}) << "without a handler the press goes on";

    events.clear();
    button.onMouseDown = [&](const MouseDown& press) {
        events.push_back(std::string(press.shift ? "shift " : "") + "press " + std::to_string(press.x) + "," +
                         std::to_string(press.y));
        return press.shift ? PressOutcome::Taken : PressOutcome::PassOn;
    };
    button.ClickWithMouse({.x = 30, .y = 45});
    button.ClickWithMouse({.shift = true, .x = 60});
    button.ClickWithMouse({.button = MouseButton::Right});
    EXPECT_EQ(events, (std::vector<std::string>{"press 30,45", "click", "shift press 60,0", "press 0,0"}))
        << "a taken press ends there; only the left button clicks";

    events.clear();
    button.SetEnabled(false);
    EXPECT_FALSE(button.PressMouse({}));
    button.ClickWithMouse({.shift = true});
    EXPECT_TRUE(events.empty()) << "a disabled button gets no press at all";
}

TEST(FormModel, ListViewsTabsAndLookups) {
    HeadlessHost host;
    Form form(host, "frmTest");
    Control& list = form.Add("lvwSpywareFound", ControlType::ListView);
    std::vector<std::size_t> checked;
    list.onItemCheck = [&](std::size_t row) { checked.push_back(row); };
    list.AddRow({"Gloom Toolbar - Found", {}, 2, false});
    list.AddRow({"EXCLUDED: C:\\x", {}, 5, false});
    list.SetSubItem(0, 2, "details");
    EXPECT_EQ(list.Rows()[0].SubItem(1), "");
    EXPECT_EQ(list.Rows()[0].SubItem(2), "details");
    EXPECT_EQ(list.FindRow("gloom toolbar"), std::optional<std::size_t>(0));
    EXPECT_EQ(list.FindRow("nothing"), std::nullopt);
    list.SetRowChecked(1, true);
    list.SetRowChecked(1, true);
    EXPECT_EQ(checked, std::vector<std::size_t>{1});
    list.RemoveRow(0);
    EXPECT_EQ(list.Rows()[0].text, "EXCLUDED: C:\\x");

    Control& tabs = form.Add("TabStrip1", ControlType::TabStrip);
    int selections = 0;
    tabs.onClick = [&] { ++selections; };
    tabs.AddTab("Scan Options");
    tabs.AddTab("Schedule");
    EXPECT_EQ(tabs.SelectedTab(), 1);
    tabs.SelectTab(2);
    tabs.SelectTab(3); // no such tab
    EXPECT_EQ(tabs.SelectedTab(), 2);
    EXPECT_EQ(selections, 1);

    form.Add("SkinLabel1", ControlType::SkinLabel, nullptr, 0);
    form.Add("SkinLabel1", ControlType::SkinLabel, nullptr, 1);
    EXPECT_EQ(form.Array("SkinLabel1").size(), 2u);
    EXPECT_EQ(form.Find("SkinLabel1", 1)->Index(), 1);
    EXPECT_EQ(form.Find("SkinLabel1"), nullptr);
    EXPECT_THROW(form.Get("cmdNone"), std::out_of_range);
    EXPECT_STREQ(TypeName(list.Type()), "ListView");
}

TEST(FormModel, TimersTickOnTheVirtualClockOnlyWhileLoadedAndEnabled) {
    HeadlessHost host;
    Form form(host, "frmTest");
    Control& fast = form.Add("tmrScroll", ControlType::Timer);
    Control& slow = form.Add("tmrTimeOut", ControlType::Timer);
    std::vector<std::string> ticks;
    fast.SetInterval(200);
    fast.SetEnabled(true);
    slow.SetInterval(500);
    slow.SetEnabled(true);
    int fastTicks = 0;
    fast.onTimer = [&] {
        ticks.push_back("fast@" + std::to_string(host.Milliseconds()));
        if (++fastTicks == 3) {
            fast.SetEnabled(false); // a tick may stop its own timer
        }
    };
    slow.onTimer = [&] { ticks.push_back("slow@" + std::to_string(host.Milliseconds())); };

    host.Advance(1000); // not loaded yet: nothing runs
    EXPECT_TRUE(ticks.empty());
    form.Load();
    host.Advance(1000);
    EXPECT_EQ(ticks,
              (std::vector<std::string>{"fast@1200", "fast@1400", "slow@1500", "fast@1600", "slow@2000"}));

    ticks.clear();
    fast.SetEnabled(true); // re-armed from now
    host.Advance(250);
    EXPECT_EQ(ticks, std::vector<std::string>{"fast@2200"});
    form.Unload();
    host.Advance(5000);
    EXPECT_EQ(ticks.size(), 1u);
}

TEST(FormModel, LifecycleModalShowsAndCloseRequests) {
    HeadlessHost host;
    Form form(host, "frmAbout");
    std::vector<std::string> events;
    form.onLoad = [&] { events.push_back("load"); };
    form.onUnload = [&] { events.push_back("unload"); };
    bool allowClose = false;
    form.onCloseRequest = [&] {
        events.push_back("close?");
        return allowClose;
    };
    host.onModal = [&](Form& shown) {
        events.push_back("modal " + shown.Name() + (shown.Visible() ? " visible" : ""));
    };

    form.Show(true);
    EXPECT_FALSE(form.Visible()); // the modal show ended with the form closed
    form.RequestClose();
    EXPECT_TRUE(form.Loaded());
    allowClose = true;
    form.RequestClose();
    EXPECT_FALSE(form.Loaded());
    EXPECT_EQ(events,
              (std::vector<std::string>{"load", "modal frmAbout visible", "close?", "close?", "unload"}));
    EXPECT_EQ(host.LoadedForms().size(), 0u);
}

TEST(FormModel, WindowChangesFromTheUserResizeOnceAndOnlyWhenTheSizeOrStateChanged) {
    HeadlessHost host;
    Form form(host, "frmMain");
    int resizes = 0;
    form.onResize = [&] { ++resizes; };
    form.Move(0, 0, 9000, 7000);
    ASSERT_EQ(resizes, 1);

    const Size inside{form.ScaleWidth(), form.ScaleHeight()};
    form.SetFromWindow({300, 200, 9000, 7000}, WindowState::Normal, inside); // dragged: same size
    EXPECT_EQ(resizes, 1);
    EXPECT_EQ(form.Position().left, 300);
    // One user action, one resize; the inside is what the window system measured, not a guess.
    form.SetFromWindow({0, 0, 19200, 14000}, WindowState::Maximized, {19080, 13200});
    EXPECT_EQ(resizes, 2);
    EXPECT_EQ(form.State(), WindowState::Maximized);
    EXPECT_EQ(form.ScaleWidth(), 19080);
    EXPECT_EQ(form.ScaleHeight(), 13200);
    form.SetFromWindow({0, 0, 19200, 14000}, WindowState::Minimized, {19080, 13200});
    EXPECT_EQ(resizes, 3);
    // A menu bar that wraps onto a second line changes only the inside: the layout must run again.
    form.SetFromWindow({0, 0, 19200, 14000}, WindowState::Minimized, {19080, 12900});
    EXPECT_EQ(resizes, 4);
}

TEST(FormModel, TheHeadlessHostMeasuresTheInsideOfEveryForm) {
    HeadlessHost host;
    Form form(host, "frmMain");
    form.Move(0, 0, 9000, 7000);
    form.Load();
    EXPECT_EQ(form.ScaleWidth(), 9000 - HeadlessHost::kFrameWidth);
    EXPECT_EQ(form.ScaleHeight(), 7000 - HeadlessHost::kFrameHeight);
    form.Add("mnuFile", ControlType::Menu).SetCaption("File");
    EXPECT_EQ(form.ScaleHeight(), 7000 - HeadlessHost::kFrameHeight - HeadlessHost::kMenuBarHeight);
    int insideAtResize = 0;
    form.onResize = [&] { insideAtResize = form.ScaleWidth(); };
    form.Move(0, 0, 12000, 7000);
    EXPECT_EQ(insideAtResize, 12000 - HeadlessHost::kFrameWidth) << "measured before the resize handler runs";
}

TEST(FormModel, TheStyleIsFixedAtLoadAndABorderlessInsideIsTheWholeWindow) {
    HeadlessHost host;
    Form form(host, "frmSignatureUpdated");
    form.SetStyle({.borderless = true, .topMost = true, .noActivate = true});
    form.Move(0, 0, 4200, 1800);
    form.Load();
    EXPECT_EQ(form.ScaleWidth(), 4200);
    EXPECT_EQ(form.ScaleHeight(), 1800);
    EXPECT_THROW(form.SetStyle({}), std::logic_error) << "the window is made already";
    EXPECT_TRUE(form.Style().topMost);
    form.Unload();
    form.SetStyle({});
    form.Load();
    EXPECT_EQ(form.ScaleWidth(), 4200 - HeadlessHost::kFrameWidth) << "framed again when loaded again";
}

TEST(FormModel, TheHeadlessHostRecordsEachChangeOfTheBusyPointer) {
    HeadlessHost host;
    Form form(host, "frmMain");
    form.SetBusyPointer(true); // no window yet: kept for when there is one
    form.Load();
    EXPECT_TRUE(form.BusyPointer());
    form.SetBusyPointer(true);
    form.SetBusyPointer(false);
    form.SetBusyPointer(false);
    form.SetBusyPointer(true);
    using Change = HeadlessHost::PointerChange;
    EXPECT_EQ(host.pointerChanges, (std::vector<Change>{{"frmMain", false}, {"frmMain", true}}))
        << "a setting that stays the same changes nothing";
}

} // namespace
} // namespace grimsweep::ui
