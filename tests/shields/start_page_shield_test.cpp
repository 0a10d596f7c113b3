// The start-page shield on the simulated registry: the tick alone, with the hooks a test controls, and
// wired into the main window, with its real timers.
#include <gtest/gtest.h>

#include <string>

#include "app/main_window_fixture.h"
#include "core/settings_keys.h"
#include "definitions/definition_files.h"
#include "platform/sim/sim_machine.h"
#include "shields/registry_text.h"
#include "shields/start_page_shield.h"
#include "ui/headless_host.h"

namespace grimsweep {
namespace {

using namespace settings;

const std::string kKey(kStartPageKey);
const std::string kValue(kStartPageValue);
constexpr RegistryRoot kUser = RegistryRoot::CurrentUser;

// What the browser's start page holds on the simulated machine; "<none>" when it cannot be read.
std::string StartPageIn(sim::SimRegistry& registry) {
    const auto value = registry.Value(kUser, kKey, kValue);
    return value ? value->text : "<none>";
}

class StartPageShieldTest : public ::testing::Test {
protected:
    StartPageShieldTest() : context(sim.View(), host), owner(host, "FrmMain"), shield(context, skin, owner) {
        timer = &owner.Add(std::string(kStartPageTimer), ui::ControlType::Timer);
        timer->SetInterval(5000);
        timer->SetEnabled(true);
        shield.hooks.setBackgroundTimers = [this](bool on) {
            timerSwitches += on ? "+" : "-";
            timer->SetEnabled(on && context.settings.ReadTruth(kSectionOptions, kHomePageShieldOn, "True"));
        };
        shield.hooks.memoryTick = [this] { ++memoryTicks; };
        host.onModal = [this](ui::Form& form) {
            ++alerts;
            question = form.Get(kStartPageAlertInfo).Caption();
            timerOnDuringAlert = timer->Enabled();
            // A tick that slips in while the alert waits.
            shield.Tick();
            if (answer) {
                form.Get(answer).Click();
            }
        };
    }
    void SetPage(const std::string& page) { sim.registry.PutString(kUser, kKey, kValue, page); }
    std::string Homepage() { return context.settings.Read(kSectionOptions, kHomepage, "<unset>"); }
    void Option(std::string_view key, bool on) { context.settings.WriteTruth(kSectionOptions, key, on); }
    void Silent() {
        Option(kAskBeforeRestoring, false);
        Option(kRestoreSilently, true);
    }

    sim::SimMachine sim;
    HeadlessHost host;
    Context context;
    Skin skin;
    ui::Form owner;
    StartPageShield shield;
    ui::Control* timer = nullptr;
    std::string timerSwitches;
    int memoryTicks = 0;
    int alerts = 0;
    std::string question;
    bool timerOnDuringAlert = false;
    const char* answer = nullptr; // the button the user presses in the alert; none closes it
};

TEST_F(StartPageShieldTest, FirstTickStoresThePageSetAndAsksNothing) {
    SetPage("http://home.example/");
    shield.Tick();
    EXPECT_EQ(Homepage(), "http://home.example/");
    EXPECT_EQ(alerts, 0);
    EXPECT_EQ(timerSwitches, "-+");
    EXPECT_TRUE(timer->Enabled());
    shield.Tick();
    EXPECT_EQ(alerts, 0) << "the same page again";
}

TEST_F(StartPageShieldTest, AChangeOfCaseAloneIsAChangeAndTheAlertSaysWhichPagesByteForByte) {
    context.settings.Write(kSectionOptions, kHomepage, "http://home.example/");
    SetPage("http://HOME.example/");
    shield.Tick();
    EXPECT_EQ(alerts, 1);
    EXPECT_EQ(question, "Grimsweep has detected that your Homepage has been changed.\r\n\r\n"
                        "Click YES to keep your homepage as:\r\nhttp://home.example/\r\n\r\n"
                        "Click No to change your homepage to:\r\nhttp://HOME.example/");
    EXPECT_FALSE(timerOnDuringAlert) << "no tick may run inside the alert";
    EXPECT_EQ(timerSwitches, "-+");
    ui::Form* alert = host.FindForm(kStartPageAlertName);
    ASSERT_NE(alert, nullptr) << "closing it without an answer leaves it loaded, hidden";
    EXPECT_TRUE(alert->Style().topMost) << "it must reach the user while the main window is in the tray";
    EXPECT_EQ(alert->Get("lblFrmHomePageProductName").Caption(), "Grimsweep");
    EXPECT_EQ(alert->Get("cmdYes").Caption(), "Yes");
    EXPECT_EQ(alert->Get("cmdNo").Caption(), "No");
    EXPECT_EQ(Homepage(), "http://home.example/") << "no answer changes nothing";
    EXPECT_EQ(StartPageIn(sim.registry), "http://HOME.example/");
}

TEST_F(StartPageShieldTest, YesWritesTheProtectedPageBackAndNoAcceptsTheNewOneSoTheNextTickIsQuiet) {
    context.settings.Write(kSectionOptions, kHomepage, "http://home.example/");
    SetPage("http://hijack.example/");
    answer = "cmdYes";
    shield.Tick();
    EXPECT_EQ(StartPageIn(sim.registry), "http://home.example/");
    EXPECT_EQ(Homepage(), "http://home.example/");
    EXPECT_EQ(host.FindForm(kStartPageAlertName), nullptr) << "the answer closes the alert";

    SetPage("http://new.example/");
    answer = "cmdNo";
    shield.Tick();
    EXPECT_EQ(alerts, 2);
    EXPECT_EQ(Homepage(), "http://new.example/");
    EXPECT_EQ(StartPageIn(sim.registry), "http://new.example/") << "No leaves the registry alone";
    shield.Tick();
    EXPECT_EQ(alerts, 2);
}

TEST_F(StartPageShieldTest, SilentModeRestoresWithinOneTickAndNeitherChoiceDoesNothing) {
    context.settings.Write(kSectionOptions, kHomepage, "http://home.example/");
    Silent();
    SetPage("http://hijack.example/");
    shield.Tick();
    EXPECT_EQ(StartPageIn(sim.registry), "http://home.example/");
    EXPECT_EQ(alerts, 0);
    EXPECT_EQ(host.FindForm(kStartPageAlertName), nullptr);

    Option(kRestoreSilently, false);
    SetPage("http://hijack.example/");
    shield.Tick();
    EXPECT_EQ(StartPageIn(sim.registry), "http://hijack.example/");
    EXPECT_EQ(Homepage(), "http://home.example/");
    EXPECT_EQ(alerts, 0);
}

TEST_F(StartPageShieldTest, ShieldOffReadsAndWritesNothingAndLeavesItsTimerOff) {
    context.settings.Write(kSectionOptions, kHomepage, "http://home.example/");
    Option(kHomePageShieldOn, false);
    Silent();
    SetPage("http://hijack.example/");
    shield.Tick();
    EXPECT_EQ(StartPageIn(sim.registry), "http://hijack.example/");
    EXPECT_EQ(shield.CurrentStartPage(), "") << "not read";
    EXPECT_FALSE(timer->Enabled());
    EXPECT_EQ(timerSwitches, "-+");
}

TEST_F(StartPageShieldTest, EveryThirdTickRunsTheMemoryTickFirst) {
    SetPage("http://home.example/");
    // The memory tick notes how many checks have ended before it runs.
    std::string order;
    shield.hooks.memoryTick = [&] { order += "m" + std::to_string(timerSwitches.size() / 2); };
    for (int tick = 1; tick <= 7; ++tick) {
        shield.Tick();
    }
    EXPECT_EQ(order, "m2m5") << "on ticks 3 and 6, before their own check";
    EXPECT_EQ(shield.TickCount(), 1);
}

TEST_F(StartPageShieldTest, APageLongerThanAnyFixedBufferIsSeenWhole) {
    const std::string longPage = "http://home.example/?" + std::string(5000, 'q');
    context.settings.Write(kSectionOptions, kHomepage, "http://home.example/");
    SetPage(longPage);
    Silent();
    shield.Tick();
    EXPECT_EQ(shield.CurrentStartPage(), longPage);
    EXPECT_EQ(StartPageIn(sim.registry), "http://home.example/");

    // And a long protected page goes back whole.
    context.settings.Write(kSectionOptions, kHomepage, longPage);
    shield.Tick();
    EXPECT_EQ(StartPageIn(sim.registry), longPage);
}

TEST_F(StartPageShieldTest, AnUnreadablePageNeverAlertsNorStoresAnEmptyProtectedPage) {
    Silent();
    // No key, no value, then a key the user may not open with full access.
    shield.Tick();
    EXPECT_EQ(Homepage(), "<unset>");
    sim.registry.CreateKey(kUser, kKey);
    shield.Tick();
    EXPECT_EQ(Homepage(), "<unset>");
    context.settings.Write(kSectionOptions, kHomepage, "http://home.example/");
    Option(kAskBeforeRestoring, true);
    SetPage("http://hijack.example/");
    sim.registry.DenyAccess(kUser, kKey, kKeySetValue);
    shield.Tick();
    EXPECT_EQ(alerts, 0);
    EXPECT_EQ(Homepage(), "http://home.example/");
    EXPECT_EQ(timerSwitches, "-+-+-+") << "the timers come back on after a skipped tick";
    EXPECT_TRUE(timer->Enabled());

    // An empty page that can be read is never stored as the protected one.
    sim.registry.AllowAccess(kUser, kKey);
    context.settings.Write(kSectionOptions, kHomepage, "");
    SetPage("");
    shield.Tick();
    EXPECT_EQ(Homepage(), "");
    SetPage("http://first.example/");
    shield.Tick();
    EXPECT_EQ(Homepage(), "http://first.example/");
}

// A page gone (no value, or no key at all) is a change like any other; No keeps the protected page and
// asks nothing more until the page changes again, and Yes brings the page back, key and all.
TEST_F(StartPageShieldTest, AMissingOrEmptyPageAlertsAndNoKeepsQuietUntilThePageChanges) {
    context.settings.Write(kSectionOptions, kHomepage, "http://home.example/");
    for (const char* gone : {"value", "key", "empty"}) {
        alerts = 0;
        SetPage("http://home.example/");
        if (std::string(gone) == "value") {
            sim.registry.DeleteValue(kUser, kKey, kValue);
        } else if (std::string(gone) == "key") {
            sim.registry.DeleteKeyTree(kUser, kKey);
        } else {
            SetPage("");
        }
        answer = "cmdNo";
        shield.Tick();
        EXPECT_EQ(alerts, 1) << gone;
        EXPECT_TRUE(question.ends_with("Click No to change your homepage to:\r\n")) << gone << question;
        shield.Tick();
        shield.Tick();
        EXPECT_EQ(alerts, 1) << gone << ": asked once";
        EXPECT_EQ(Homepage(), "http://home.example/");
        SetPage("http://hijack.example/");
        shield.Tick();
        EXPECT_EQ(alerts, 2) << gone << ": a new page is asked about again";
        context.settings.Write(kSectionOptions, kHomepage, "http://home.example/");
    }
    sim.registry.DeleteKeyTree(kUser, kKey);
    answer = "cmdYes";
    shield.Tick();
    EXPECT_EQ(StartPageIn(sim.registry), "http://home.example/") << "Yes writes the key back";
}

// The registry reads the shield makes, on values of every kind.
TEST(RegistryText, StringsExpandableStringsAndNumbersReadAsTextOtherTypesLeaveTheText) {
    sim::SimRegistry registry;
    registry.PutString(kUser, "K", "S", std::string(5000, 'x'));
    RegistryValue expand;
    expand.type = RegistryValueType::ExpandString;
    expand.text = "%SystemDrive%\\start.htm";
    registry.SetValue(kUser, "K", "E", expand);
    registry.SetValue(kUser, "K", "N", RegistryValue::Dword(4294967295u));
    RegistryValue binary;
    binary.type = RegistryValueType::Binary;
    binary.bytes = "ab";
    registry.SetValue(kUser, "K", "B", binary);

    using enum RegistryTextRead;
    std::string text = "about:blank";
    EXPECT_EQ(ReadRegistryString(registry, kUser, "K", "S", text), Read);
    EXPECT_EQ(text.size(), 5000u);
    EXPECT_EQ(ReadRegistryString(registry, kUser, "K", "E", text), Read);
    EXPECT_EQ(text, "%SystemDrive%\\start.htm") << "not expanded";
    EXPECT_EQ(ReadRegistryString(registry, kUser, "K", "N", text), Read);
    EXPECT_EQ(text, "4294967295");
    text = "about:blank";
    EXPECT_EQ(ReadRegistryString(registry, kUser, "K", "B", text), Read);
    EXPECT_EQ(text, "about:blank");
    EXPECT_EQ(ReadRegistryString(registry, kUser, "K", "Missing", text), Missing);
    EXPECT_EQ(text, "");
    text = "x";
    EXPECT_EQ(ReadRegistryString(registry, kUser, "No key", "S", text), Missing);
    EXPECT_EQ(text, "");
    registry.DenyAccess(kUser, "K", kKeySetValue);
    EXPECT_EQ(ReadRegistryString(registry, kUser, "K", "S", text), Unreadable);
}

TEST(RegistryText, WritesGoOnlyToAKeyThatOpensWithFullAccess) {
    sim::SimRegistry registry;
    WriteRegistryValue(registry, "Absent", "V", "page", RegistryValueType::String);
    EXPECT_EQ(registry.Value(kUser, "Absent", "V")->text, "page") << "a missing key is made";
    registry.CreateKey(kUser, "K");
    WriteRegistryValue(registry, "K", "V", "page", RegistryValueType::String);
    WriteRegistryValue(registry, "K", "N", "42", RegistryValueType::Dword);
    EXPECT_EQ(registry.Value(kUser, "K", "V")->text, "page");
    EXPECT_EQ(registry.Value(kUser, "K", "N")->number, 42u);
    registry.DenyAccess(kUser, "K", kKeyCreateSubKey);
    WriteRegistryValue(registry, "K", "V", "other", RegistryValueType::String);
    EXPECT_EQ(registry.Value(kUser, "K", "V")->text, "page");
}

// Wired into the main window: its timer, its background timers and the scan.
class StartPageShieldInWindowTest : public MainWindowTest {
protected:
    StartPageShieldInWindowTest() {
        sim.registry.PutString(kUser, kKey, kValue, "http://home.example/");
        Open();
        window->SendToTray();
    }
};

TEST_F(StartPageShieldInWindowTest, TheTimerRunsTheShieldAndNoBackgroundTimerRunsWhileTheAlertWaits) {
    host->Advance(5000);
    EXPECT_EQ(Setting(kSectionOptions, kHomepage), "http://home.example/");
    sim.registry.PutString(kUser, kKey, kValue, "http://hijack.example/");
    context->settings.Write(kSectionOptions, kScheduledScans, "1");
    int alerts = 0;
    host->onModal = [&](ui::Form& form) {
        ++alerts;
        for (std::string_view timer :
             {"tmrCheckHomePage", "tmrMemoryInspected", "tmrScheduler", "tmrTimeOut"}) {
            EXPECT_FALSE(TimerOn(timer)) << timer;
        }
        // A long wait for the answer: nothing ticks inside it.
        host->Advance(60000);
        form.Get("cmdYes").Click();
    };
    host->Advance(5000);
    EXPECT_EQ(alerts, 1);
    EXPECT_EQ(StartPageIn(sim.registry), "http://home.example/");
    EXPECT_TRUE(TimerOn("tmrCheckHomePage"));
    EXPECT_TRUE(TimerOn("tmrScheduler")) << "re-armed from the settings";
}

TEST_F(StartPageShieldInWindowTest, ATickDuringAUserScanTouchesNothing) {
    for (std::string_view name : {kFileDefinitionFile, kRegistryDefinitionFile, kExeDefinitionFile,
                                  kBlockedCookiesFile, kDirectoryDefinitionFile}) {
        sim.files.PutFile(context->DataFile(name), "");
    }
    context->settings.Write(kSectionOptions, kHomepage, "http://home.example/");
    context->settings.WriteTruth(kSectionOptions, kAskBeforeRestoring, false);
    context->settings.WriteTruth(kSectionOptions, kRestoreSilently, true);
    sim.registry.PutString(kUser, kKey, kValue, "http://hijack.example/");
    bool timersOffAfterTick = false;
    window->Scan().stages.files = [&](ScanRun&) {
        // The user switches the shield off and on again in the middle of the scan, arming its timer.
        Control("chkHomePage").Click();
        Control("chkHomePage").Click();
        host->Advance(5000);
        timersOffAfterTick = !TimerOn("tmrMemoryInspected") && !TimerOn("tmrScheduler");
    };
    Control("cmdScanNow").Click();
    EXPECT_TRUE(timersOffAfterTick) << "the tick must not re-arm the timers inside the scan";
    EXPECT_EQ(StartPageIn(sim.registry), "http://hijack.example/");
    host->Advance(5000);
    EXPECT_EQ(StartPageIn(sim.registry), "http://home.example/") << "after the scan the shield acts again";
}

} // namespace
} // namespace grimsweep
