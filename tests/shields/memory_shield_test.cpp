// The memory shield in the main window on the simulated machine: the tick, the alert and its answers, and
// what the shield leaves alone.
#include "shields/memory_shield.h"

#include <gtest/gtest.h>

#include "../app/main_window_fixture.h"
#include "definitions/definition_files.h"
#include "definitions/exclusion_list.h"
#include "definitions/line_code.h"

namespace grimsweep {
namespace {

using namespace std::string_literals;
using namespace settings;

const std::string kFoo = "C:\\Program Files\\Foo";

class MemoryShieldTest : public MainWindowTest {
protected:
    MemoryShieldTest() {
        Open();
        boxesAtStart = host->Shown().size();
        std::string bytes;
        for (const std::string& line : {"spy.exe=Foo Adware|" + kFoo, "ms.exe=Foo|" + kFoo}) {
            bytes += EncodeDefinitionLine(line) + "\r\n";
        }
        sim.files.PutFile(context->DataFile(kExeDefinitionFile), bytes);
    }
    std::uint32_t Run(const std::string& path, const std::string& company = "Foo Adware Inc.") {
        sim.files.PutFile(path, "MZStringFileInfo\0CompanyName\0"s + company + "\0\0\0FileDescription\0"s);
        return sim.processes.Start(path);
    }
    MemoryShield& Shield() { return window->Memory(); }
    ui::Form& Alert() { return Shield().Alert().Window(); }
    // Presses `button` on the alert the first time the program waits with it shown; records the timers then.
    void AnswerWith(std::string_view button) {
        host->onPump = [this, button] {
            if (Alert().Visible() && !Shield().AlertAnswered()) {
                timersDuringAlert =
                    TimerOn("tmrMemoryInspected") || TimerOn("tmrCheckHomePage") || TimerOn("tmrScheduler");
                companyShown = Alert().Get("lblAlertCompanyName").Caption();
                fileShown = Alert().Get("lblAlertFileName").Caption();
                ++alertsSeen;
                Alert().Get(button).Click();
            }
        };
    }
    // The message boxes shown since the window opened.
    std::vector<MessageBoxRequest> Boxes() const {
        return {host->Shown().begin() + static_cast<std::ptrdiff_t>(boxesAtStart), host->Shown().end()};
    }
    std::string Exclusions() { return sim.files.Contents(context->DataFile(kExclusionFile)); }

    std::size_t boxesAtStart = 0;
    bool timersDuringAlert = true;
    std::string companyShown;
    std::string fileShown;
    int alertsSeen = 0;
};

TEST_F(MemoryShieldTest, StopEndsOnlyTheProgramTheCheckFound) {
    const auto spy = Run(kFoo + "\\spy.exe");
    const auto namesake = Run("C:\\Tools\\spy.exe");
    AnswerWith("cmdYes");
    Shield().Tick();
    EXPECT_EQ(alertsSeen, 1);
    EXPECT_EQ(companyShown, "FOO ADWARE INC.");
    EXPECT_EQ(fileShown, "SPY.EXE");
    EXPECT_TRUE(Shield().AlertAnswered());
    EXPECT_EQ(sim.processes.terminated, (std::vector<std::uint32_t>{spy}));
    EXPECT_NE(sim.processes.Find(namesake), nullptr);
    EXPECT_FALSE(Alert().Visible());
    // Ticks never nest: every background timer was off while the alert waited, and is back after.
    EXPECT_FALSE(timersDuringAlert);
    EXPECT_TRUE(TimerOn("tmrMemoryInspected"));
    EXPECT_TRUE(TimerOn("tmrCheckHomePage"));
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(window->ScanStatus().counters.threatsFound, 1);
}

TEST_F(MemoryShieldTest, StopOnAProgramThatCannotBeStoppedSaysSoAndTheNextAlertOffersStopAgain) {
    const auto spy = Run(kFoo + "\\Spy.exe", "");
    sim.processes.Find(spy)->refusesToStop = true;
    AnswerWith("cmdYes");
    Shield().Tick();
    EXPECT_EQ(companyShown, "No Company name available for SPY.EXE");
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, "SPY.EXE could not be stopped.  You should try again after saving your work "
                               "and closing any open applications.");
    EXPECT_EQ(Boxes()[0].icon, MessageBoxIcon::Information);
    EXPECT_EQ(Boxes()[0].buttons, MessageBoxButtons::Ok);
    EXPECT_FALSE(Alert().Visible());
    Shield().Tick();
    EXPECT_EQ(alertsSeen, 2);
}

TEST_F(MemoryShieldTest, AnIdentifierReusedWhileTheAlertWaitsIsNotStopped) {
    const auto spy = Run(kFoo + "\\spy.exe");
    host->onPump = [&] {
        if (Alert().Visible()) {
            // The program ended and its identifier now runs another program.
            sim.processes.running.clear();
            sim.processes.running.push_back({spy, "C:\\Windows\\notepad.exe"});
            Alert().Get("cmdYes").Click();
        }
    };
    Shield().Tick();
    EXPECT_TRUE(sim.processes.terminated.empty());
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(MemoryShieldTest, AllowWritesOneExclusionLineAndTheNextTickIsQuiet) {
    Run(kFoo + "\\spy.exe");
    // ALLOW pressed again while the first press is still writing (it lets messages run) counts once.
    host->onPump = [this] {
        if (Alert().Visible()) {
            alertsSeen += Shield().AlertAnswered() ? 0 : 1;
            Alert().Get("cmdNO").Click();
        }
    };
    Shield().Tick();
    EXPECT_EQ(Exclusions(), "SPY.EXE\r\n");
    EXPECT_TRUE(sim.processes.terminated.empty());
    Shield().Tick();
    EXPECT_EQ(alertsSeen, 1);
    EXPECT_EQ(Exclusions(), "SPY.EXE\r\n");
    EXPECT_EQ(Control("lvwSpywareFound").Rows().back().text, "EXCLUDED: SPY.EXE");
}

TEST_F(MemoryShieldTest, MicrosoftProgramsAnOffShieldAndABusyProgramRaiseNothing) {
    Run(kFoo + "\\ms.exe", "Microsoft Corporation");
    AnswerWith("cmdYes");
    Shield().Tick();
    EXPECT_EQ(alertsSeen, 0);

    Run(kFoo + "\\spy.exe");
    context->settings.Write(kSectionOptions, kMemoryShieldOn, kFalse);
    Control("tmrMemoryInspected").SetEnabled(true);
    Control("tmrCheckHomePage").SetEnabled(false);
    Shield().Tick();
    EXPECT_EQ(alertsSeen, 0);
    // The off shield does not touch the timers.
    EXPECT_TRUE(TimerOn("tmrMemoryInspected"));
    EXPECT_FALSE(TimerOn("tmrCheckHomePage"));

    context->settings.Write(kSectionOptions, kMemoryShieldOn, kTrue);
    window->Busy().Begin(BusyTask::Scan);
    Shield().Tick();
    window->Busy().End();
    EXPECT_EQ(alertsSeen, 0);
    EXPECT_TRUE(sim.processes.terminated.empty());
    Shield().Tick();
    EXPECT_EQ(alertsSeen, 1);
}

TEST_F(MemoryShieldTest, TheTimerRunsTheTickAndClosingTheProgramEndsTheWait) {
    Run(kFoo + "\\spy.exe");
    window->SendToTray();
    ASSERT_TRUE(TimerOn("tmrMemoryInspected"));
    int waitsWithAlert = 0;
    host->onPump = [&] {
        if (Alert().Visible() && ++waitsWithAlert == 3) {
            window->Window().RequestClose();
        }
    };
    // The start-page ticks re-arm the background timers every five seconds; every third one runs a memory
    // tick itself.
    host->Advance(15000);
    EXPECT_EQ(waitsWithAlert, 3);
    EXPECT_TRUE(host->QuitPending());
    EXPECT_FALSE(Alert().Loaded());
    EXPECT_TRUE(sim.processes.terminated.empty());
}

TEST_F(MemoryShieldTest, TheCloseBoxEndsTheWaitWithoutAnAnswer) {
    Run(kFoo + "\\spy.exe");
    host->onPump = [&] {
        if (Alert().Visible()) {
            Alert().RequestClose();
        }
    };
    Shield().Tick();
    EXPECT_FALSE(Shield().AlertAnswered());
    EXPECT_TRUE(Alert().Loaded());
    EXPECT_TRUE(Exclusions().empty());
    EXPECT_TRUE(sim.processes.terminated.empty());
}

TEST_F(MemoryShieldTest, OnTheLegacyPlatformTheTickAsksYesOrNoAndNoWritesTheExclusion) {
    sim.system.osVersion.platformId = kPlatformWin9x;
    const auto spy = Run(kFoo + "\\spy.exe");
    host->Answer(MessageBoxAnswer::No);
    Shield().Tick();
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].title, context->brand.programName + "  - Alert");
    EXPECT_FALSE(Alert().Loaded());
    EXPECT_EQ(Exclusions(), "SPY.EXE\r\n");
    EXPECT_NE(sim.processes.Find(spy), nullptr);
    Shield().Tick();
    EXPECT_EQ(Boxes().size(), 1u);
}

} // namespace
} // namespace grimsweep
