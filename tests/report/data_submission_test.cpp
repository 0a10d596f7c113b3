// The anonymous data submission on the main window: what the process list leaves out and how it is
// scrambled, the manual submission's outcome text, the opt-out question, and when the list is sent.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main_window_fixture.h"
#include "common/percent_encoding.h"
#include "core/settings_keys.h"
#include "definitions/definition_files.h"
#include "definitions/line_code.h"
#include "report/data_submission.h"
#include "report/submission_payload.h"
#include "scan/scan_driver.h"

namespace grimsweep {
namespace {

using namespace settings;

// The default collection service and its page.
constexpr std::string_view kQuery = "http://127.0.0.1:8080/asp/getData.asp?data=";

// The names a collection request carries, read back as the local collection service reads them: the
// query value percent-decoded and split into scrambled names. Nothing when the request is not one.
std::optional<std::vector<std::string>> ScrambledNamesSent(std::string_view url) {
    if (!url.starts_with(kQuery) ||
        url.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-._~%",
                              kQuery.size()) != std::string_view::npos) {
        return std::nullopt;
    }
    const auto payload = PercentDecode(url.substr(kQuery.size()));
    return payload ? SplitSubmissionPayload(*payload) : std::nullopt;
}

// The same names unscrambled (code-page bytes).
std::vector<std::string> NamesSent(std::string_view url) {
    std::vector<std::string> names;
    for (const std::string& scrambled : ScrambledNamesSent(url).value_or(std::vector<std::string>{})) {
        names.push_back(DecodeDefinitionLine(scrambled));
    }
    return names;
}

// The request of a manual submission of an ASCII name that needs no escape inside the payload.
std::string ManualRequest(std::string_view name) {
    return std::string(kQuery) + PercentEncode(EncodeDefinitionLine(name)) + "%7C";
}

class DataSubmissionTest : public MainWindowTest {
protected:
    DataSubmissionTest() {
        Open();
        for (std::string_view name : {kFileDefinitionFile, kRegistryDefinitionFile, kExeDefinitionFile,
                                      kBlockedCookiesFile, kDirectoryDefinitionFile}) {
            sim.files.PutFile(context->DataFile(name), "");
        }
        ScanStages& stages = window->Scan().stages;
        auto nothing = [](ScanRun&) {};
        stages.cookies = nothing;
        stages.processes = nothing;
        stages.registry = nothing;
        stages.folders = nothing;
        stages.files = [this](ScanRun& run) {
            if (findsSomething) {
                run.lists.AddRemovalRow("C:\\evil.exe", 3, "C:\\evil.exe", "");
            }
        };
    }

    void Run(std::vector<std::string> paths) {
        for (const std::string& path : paths) {
            sim.processes.Start(path);
        }
    }
    // The requests that reached the collection page.
    std::vector<std::string> Submissions() const {
        std::vector<std::string> found;
        for (const std::string& url : sim.http.requests) {
            if (url.find("/asp/getData.asp") != std::string::npos) {
                found.push_back(url);
            }
        }
        return found;
    }
    bool findsSomething = false;
};

TEST_F(DataSubmissionTest, ProcessListLeavesOutTheSystemNamesExactlyAndScramblesTheRest) {
    Run({"C:\\WINDOWS\\System", "C:\\System Idle Process", "C:\\WINDOWS\\system32\\winlogon.exe",
         "C:\\WINDOWS\\system32\\services.exe", "C:\\WINDOWS\\system32\\svchost.exe",
         "C:\\WINDOWS\\explorer.exe", "C:\\Program Files\\Mozilla Firefox\\firefox.exe",
         "C:\\Program Files\\Internet Explorer\\iexplore.exe"});
    window->Scan().StartScan();
    EXPECT_TRUE(Submissions().empty()) << "only the excluded system processes run: nothing is sent";

    // The comparison is exact: another case is sent; a name that runs twice is sent twice.
    Run({"C:\\WINDOWS\\system32\\calc.exe", "C:\\WINDOWS\\Explorer.exe", "C:\\WINDOWS\\system32\\calc.exe"});
    window->Scan().StartScan();
    ASSERT_EQ(Submissions().size(), 1u);
    EXPECT_EQ(NamesSent(Submissions()[0]),
              (std::vector<std::string>{"calc.exe", "Explorer.exe", "calc.exe"}));
    EXPECT_EQ(Submissions()[0].find("calc"), std::string::npos) << "names never go in plain text";
}

// Names whose scrambled form holds the separator, the escape character or bytes that mean something in
// a query reach the service as the same names.
TEST_F(DataSubmissionTest, NamesHoldingTheSeparatorAndQueryCharactersComeBackWhole) {
    const std::string separator = DecodeDefinitionLine("|");
    const std::string escape = DecodeDefinitionLine("%");
    const std::vector<std::string> names = {"gloomupd.exe", "a" + separator + "b.exe", escape + "7C.exe",
                                            "50% & = + off.exe", "x" + separator + separator + escape};
    for (const std::string& name : names) {
        Run({"C:\\" + name});
    }
    window->Scan().StartScan();
    ASSERT_EQ(Submissions().size(), 1u);
    EXPECT_EQ(NamesSent(Submissions()[0]), names);

    sim.http.requests.clear();
    Control(kSubmitNameBox).SetText(names[1]);
    Control(kSubmitCommand).Click();
    ASSERT_EQ(Submissions().size(), 1u);
    EXPECT_EQ(NamesSent(Submissions()[0]), (std::vector<std::string>{names[1]}));
}

// Scrambled names holding every byte from 1 to 255 between them, the separator and the escape character
// alone and in runs, through the real request address and back through the service's decoding.
TEST_F(DataSubmissionTest, APayloadOfEveryByteSplitsBackIntoTheSameNames) {
    std::string everyByte;
    for (int byte = 1; byte <= 255; ++byte) {
        everyByte += static_cast<char>(byte);
    }
    const std::vector<std::string> names = {"",    everyByte, "|",       "%",     "||", "%7C", "%25",
                                            "a|b", "&data=x", "a=b+c d", "%%|%|", "x%", "%G1"};
    const std::string url = CollectionUrl(*context, JoinSubmissionNames(names));
    EXPECT_EQ(ScrambledNamesSent(url), names);
    EXPECT_EQ(ScrambledNamesSent(CollectionUrl(*context, JoinSubmissionNames({everyByte}) + "|")),
              (std::vector<std::string>{everyByte}))
        << "a manual submission ends in the separator";
    EXPECT_EQ(SplitSubmissionPayload("ok|bad%7"), std::nullopt);
    EXPECT_EQ(SplitSubmissionPayload("a||b"), (std::vector<std::string>{"a", "", "b"}));
}

TEST_F(DataSubmissionTest, AFailingManagementQuerySendsNothingAndSaysNothing) {
    Run({"C:\\calc.exe"});
    sim.processNames.fails = true;
    const std::size_t boxes = host->Shown().size();
    window->Scan().StartScan();
    EXPECT_TRUE(Submissions().empty());
    EXPECT_EQ(host->Shown().size(), boxes);
}

TEST_F(DataSubmissionTest, TheListIsSentOnlyAfterACleanScanOrARemovalAndOnlyWhenAllowed) {
    Run({"C:\\calc.exe"});
    ASSERT_EQ(Control(kSendDataBox).Value(), 1) << "on by default";
    findsSomething = true;
    window->Scan().StartScan();
    EXPECT_TRUE(Submissions().empty()) << "a scan with findings sends nothing";

    findsSomething = false;
    host->Answer(MessageBoxAnswer::Yes);
    Control(kSendDataBox).Click();
    ASSERT_EQ(Control(kSendDataBox).Value(), 0);
    window->Scan().StartScan();
    Control("cmdResults").Click();
    EXPECT_TRUE(Submissions().empty()) << "the option is off";

    Control(kSendDataBox).Click();
    window->Scan().StartScan();
    EXPECT_EQ(Submissions().size(), 1u) << "a clean scan with the option on";
    Control("cmdResults").Click();
    EXPECT_EQ(Submissions().size(), 2u) << "Results on an empty removal list sends it too";
    window->Removal().hooks.submitData();
    EXPECT_EQ(Submissions().size(), 3u) << "the removal's hook is wired to the same list";
}

TEST_F(DataSubmissionTest, SubmittingAFileNameShowsTheOutcomeAndClearsTheBox) {
    // The name goes in the system code page, scrambled, with a trailing "|".
    Control(kSubmitNameBox).SetText("caf\xC3\xA9.exe");
    Control(kSubmitCommand).Click();
    ASSERT_EQ(Submissions().size(), 1u);
    EXPECT_TRUE(Submissions()[0].ends_with("%7C"));
    EXPECT_EQ(NamesSent(Submissions()[0]), (std::vector<std::string>{"caf\xE9.exe"}));

    // Each answer, case ignored, counts as success.
    for (const char* accepted : {"added", "SKIPPED", "<b>Added</b>"}) {
        Control(kSubmitNameBox).SetText("bad.exe");
        sim.http.bodies[ManualRequest("bad.exe")] = accepted;
        Control(kSubmitCommand).Click();
        EXPECT_EQ(Control(kSubmitResultLabel).Caption(), "Results: bad.exe submitted.  Thank you!")
            << accepted;
        EXPECT_EQ(Control(kSubmitNameBox).Text(), "");
    }
}

TEST_F(DataSubmissionTest, AnyOtherAnswerOrNoAnswerShowsTheProblem) {
    const std::string problem = "Results: There was a problem submitting bad.exe.  Please make sure you are "
                                "connected to the internet, or try again later.";
    Control(kSubmitNameBox).SetText("bad.exe");
    Control(kSubmitCommand).Click(); // no service answers
    EXPECT_EQ(Control(kSubmitResultLabel).Caption(), problem);
    EXPECT_EQ(Control(kSubmitNameBox).Text(), "");

    Control(kSubmitNameBox).SetText("bad.exe");
    sim.http.bodies[ManualRequest("bad.exe")] = "Error 500";
    Control(kSubmitCommand).Click();
    EXPECT_EQ(Control(kSubmitResultLabel).Caption(), problem);
}

TEST_F(DataSubmissionTest, AnEmptyBoxStillSendsTheSeparator) {
    sim.http.requests.clear();
    Control(kSubmitCommand).Click();
    EXPECT_EQ(sim.http.requests, (std::vector<std::string>{std::string(kQuery) + "%7C"}));
}

TEST_F(DataSubmissionTest, TheSubmissionControlsShareThePageOfTheOptionWithoutOverlapping) {
    ui::Control* page = Control(kSendDataBox).Container();
    for (std::string_view name : {kSubmitNameBox, kBrowseCommand, kSubmitCommand, kSubmitResultLabel}) {
        EXPECT_EQ(Control(name).Container(), page) << name;
    }
    const ui::Bounds& area = page->Position();
    std::vector<const ui::Control*> siblings;
    for (const auto& control : window->Window().Controls()) {
        if (control->Container() == page && control->Type() != ui::ControlType::SkinLabel) {
            siblings.push_back(control.get());
        }
    }
    for (const ui::Control* a : siblings) {
        const ui::Bounds& at = a->Position();
        EXPECT_LE(at.left + at.width, area.width) << a->Name();
        EXPECT_LE(at.top + at.height, area.height) << a->Name();
        for (const ui::Control* b : siblings) {
            const ui::Bounds& bt = b->Position();
            const bool apart = at.left + at.width <= bt.left || bt.left + bt.width <= at.left ||
                               at.top + at.height <= bt.top || bt.top + bt.height <= at.top;
            EXPECT_TRUE(a == b || apart) << a->Name() << " overlaps " << b->Name();
        }
    }
}

TEST_F(DataSubmissionTest, EnterInTheBoxSubmitsAndOtherKeysDoNothing) {
    ui::Control& box = Control(kSubmitNameBox);
    box.SetText("bad.exe");
    sim.http.requests.clear();
    EXPECT_FALSE(box.PressKey('A'));
    EXPECT_TRUE(Submissions().empty());
    EXPECT_TRUE(box.PressKey(ui::kKeyReturn));
    EXPECT_EQ(Submissions(), (std::vector<std::string>{ManualRequest("bad.exe")}));
    EXPECT_EQ(box.Text(), "");
    box.SetEnabled(false);
    EXPECT_FALSE(box.PressKey(ui::kKeyReturn)) << "a disabled box takes no key";
    EXPECT_EQ(Submissions().size(), 1u);
}

TEST_F(DataSubmissionTest, BrowsePutsTheLastPathComponentInTheBoxAndCancelLeavesIt) {
    host->fileDialogAnswers = {std::string("C:\\My Files\\sub.dir\\evil.exe"), std::nullopt};
    Control(kBrowseCommand).Click();
    EXPECT_EQ(Control(kSubmitNameBox).Text(), "evil.exe");
    Control(kBrowseCommand).Click();
    EXPECT_EQ(Control(kSubmitNameBox).Text(), "evil.exe") << "cancelled";
    EXPECT_EQ(host->fileDialogsShown, 2);
    EXPECT_TRUE(Submissions().empty()) << "Browse only fills the box";
}

TEST_F(DataSubmissionTest, TurningCollectionOffAsksAndNoKeepsItOn) {
    ui::Control& box = Control(kSendDataBox);
    const std::size_t before = host->Shown().size();
    host->Answer(MessageBoxAnswer::No);
    box.Click();
    ASSERT_EQ(host->Shown().size(), before + 1);
    const MessageBoxRequest question = host->Shown().back();
    EXPECT_EQ(question.title, "Really turn off anonymous data collection?");
    EXPECT_EQ(question.text,
              "By sending anonymous data you can help us identify new spyware more quickly.\r\n\r\n"
              "No personal information is collected, the only information sent is executable names that "
              "are currently loaded into memory.\r\n\r\n"
              "Do you really want to turn off anonymous data collection?");
    EXPECT_EQ(question.buttons, MessageBoxButtons::YesNo);
    EXPECT_EQ(question.icon, MessageBoxIcon::None);
    EXPECT_EQ(box.Value(), 1);
    EXPECT_EQ(Setting(kSectionOptions, kSendData), "1");

    host->Answer(MessageBoxAnswer::Yes);
    box.Click();
    EXPECT_EQ(box.Value(), 0);
    EXPECT_EQ(Setting(kSectionOptions, kSendData), "0");

    // The next start restores "off" without a question.
    Start();
    Open();
    EXPECT_EQ(Control(kSendDataBox).Value(), 0);
    // Ticking it stores "1" without a question.
    Control(kSendDataBox).Click();
    EXPECT_EQ(Setting(kSectionOptions, kSendData), "1");
    for (const MessageBoxRequest& shown : host->Shown()) {
        EXPECT_NE(shown.title, question.title);
    }
}

} // namespace
} // namespace grimsweep
