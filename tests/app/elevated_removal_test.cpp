// A standard user's removal leaves what needs an administrator and offers, once, to go on as one; the
// removal as administrator is the console's "remove-listed", run here on the same simulated machine with
// the rights Windows would give it.
#include <gtest/gtest.h>

#include <sstream>

#include "../removal/removal_fixture.h"
#include "app/console_elevated_removal.h"
#include "removal/quarantine_index.h"

namespace grimsweep {
namespace {

const std::string kMachineFile = "C:\\Program Files\\Gloom\\gloom.dat";
const std::string kMachineKey = "SOFTWARE\\Gloom";
const std::string kOwnFile = "C:\\Documents and Settings\\Tester\\gloom.txt";
const std::string kService = "C:\\Program Files\\Gloom\\gloomsvc.exe"; // another user runs it
// A second file of the same threat, which even an administrator cannot delete.
const std::string kLockedFile = "C:\\Program Files\\Gloom\\locked.dat";
const std::string kLetter = "C:\\Documents and Settings\\Tester\\letter.doc";

enum class Windows { NotAsked, Declined, CannotStart, Runs, JobChanged };

struct Case {
    const char* name;
    MessageBoxAnswer answer;
    Windows windows;
};

class ElevatedRemovalTest : public RemovalTest, public ::testing::WithParamInterface<Case> {
protected:
    ElevatedRemovalTest() {
        sim.registry.PutString(RegistryRoot::LocalMachine, kMachineKey, "Level", "3");
        sim.BecomeStandardUser();
        PlantFile(kMachineFile, "gloom data", "Gloom Data");
        sim.files.PutFile(kLockedFile, "locked");
        sim.files.FailNext(sim::FileOp::Delete, kLockedFile, 1000);
        Lists().AddFileRow(kLockedFile, "Gloom Data");
        Lists().AddRemovalRow("Gloom Key", ui::kIconRegistry, "HKEY_LOCAL_MACHINE\\" + kMachineKey, "");
        Lists().AddRegistryRow(RegistryRoot::LocalMachine, kMachineKey, "Level", "Gloom Key");
        PlantFile(kOwnFile, "gloom text", "Gloom Text");
        PlantFile(kService, "MZ gloom service", "Gloom Service");
        sim.processes.Find(sim.processes.Start(kService))->otherUsers = true;
    }

    // What Windows does after its question: runs the console removal with an administrator's rights.
    ElevatedRun AsAdministrator(const std::string& parameters, bool changeJob) {
        const std::size_t open = parameters.find('"');
        const std::size_t close = parameters.find('"', open + 1);
        const std::string job = parameters.substr(open + 1, close - open - 1);
        const std::string digest = parameters.substr(close + 2);
        if (changeJob) {
            sim.files.PutFile(job, sim.files.Contents(job) +
                                       "row\tfiles\t0\tC:%5CDocuments%20and%20Settings" +
                                       "%5CTester%5Cletter.doc\tGloom Data\r\n");
        }
        sim.files.SetReadOnlyTree("C:\\Program Files", false);
        sim.registry.AllowAccess(RegistryRoot::LocalMachine, "SOFTWARE");
        sim.shell.elevated = true;
        sim.processes.standardUser = false;
        HeadlessHost adminHost;
        Context admin(sim.View(), adminHost);
        admin.EstablishDataFolder();
        admin.dataFolder = "C:\\Documents and Settings\\Administrator\\Application Data\\AntiSpywareDAT";
        std::ostringstream out;
        const int code = RemoveListedItems(admin, job, digest, out);
        sim.BecomeStandardUser();
        return {ElevatedRunStatus::Finished, static_cast<std::uint32_t>(code)};
    }
};

TEST_P(ElevatedRemovalTest, WhatNeedsAnAdministratorGoesOnlyWithOneAndWhatStayedSaysWhy) {
    const Case& c = GetParam();
    if (c.windows == Windows::Declined) {
        sim.shell.administrator = [](const std::string&, const std::string&) {
            return ElevatedRun{ElevatedRunStatus::Declined, 0};
        };
    } else if (c.windows == Windows::Runs || c.windows == Windows::JobChanged) {
        sim.shell.administrator = [&](const std::string&, const std::string& parameters) {
            return AsAdministrator(parameters, c.windows == Windows::JobChanged);
        };
    }
    sim.files.PutFile(kLetter, "Dear Sir");
    const std::size_t before = host->Shown().size();
    TickAll();
    host->Answer(MessageBoxAnswer::Yes);
    host->Answer(c.answer);
    Control("Command4").Click();

    ASSERT_EQ(host->Shown().size(), before + 2);
    EXPECT_EQ(host->Shown().back().text, context->messages.getMessages(kMsgAdminAsk));
    EXPECT_FALSE(sim.files.Exists(kOwnFile)) << "the user's own file needs no administrator";
    EXPECT_EQ(sim.shell.elevatedRuns.size(), c.windows == Windows::NotAsked ? 0u : 1u);
    EXPECT_FALSE(sim.files.Exists(context->DataFile(kElevatedRemovalJobName)));
    const bool removed = c.windows == Windows::Runs;
    EXPECT_EQ(sim.files.Exists(kMachineFile), !removed);
    EXPECT_EQ(sim.registry.Value(RegistryRoot::LocalMachine, kMachineKey, "Level").has_value(), !removed);
    EXPECT_EQ(sim.files.Exists(kService), !removed);
    EXPECT_EQ(sim.processes.IsRunning("gloomsvc.exe"), !removed) << "only an administrator stops it";
    EXPECT_TRUE(sim.files.Exists(kLockedFile));
    if (removed) {
        EXPECT_EQ(Problems(), std::vector<std::string>{kLockedFile});
        EXPECT_EQ(Texts("lvwPicRemoveListOfSpywareFoundAndToBeRemoved"),
                  std::vector<std::string>{"Gloom Data"})
            << "a threat stays listed while anything of it stayed";
        EXPECT_EQ(Removal().LastOutcome().removed, 3);
        EXPECT_EQ(ReadQuarantineIndex(*context).size(), 4u) << "every backup in the user's own quarantine";
        return;
    }
    const std::string reason = context->messages.getMessages(
        c.windows == Windows::NotAsked || c.windows == Windows::Declined ? kMsgAdminDeclined
                                                                         : kMsgAdminFailed);
    const std::vector<std::string> stayed = Removal().Problems().EntriesWithReasons();
    ASSERT_EQ(stayed.size(), 4u);
    for (const std::string& entry : stayed) {
        EXPECT_TRUE(entry.ends_with(" - " + reason)) << entry;
    }
    EXPECT_EQ(Texts("lvwPicRemoveListOfSpywareFoundAndToBeRemoved"),
              (std::vector<std::string>{"Gloom Data", "Gloom Key", "Gloom Service"}));
    EXPECT_TRUE(sim.files.Exists(kLetter)) << "a changed job is never carried out";
}

INSTANTIATE_TEST_SUITE_P(
    Answers, ElevatedRemovalTest,
    ::testing::Values(Case{"No", MessageBoxAnswer::No, Windows::NotAsked},
                      Case{"WindowsDeclined", MessageBoxAnswer::Yes, Windows::Declined},
                      Case{"CannotStart", MessageBoxAnswer::Yes, Windows::CannotStart},
                      Case{"AdministratorRemoves", MessageBoxAnswer::Yes, Windows::Runs},
                      Case{"JobChangedAfterwards", MessageBoxAnswer::Yes, Windows::JobChanged}),
    [](const ::testing::TestParamInfo<Case>& param) { return std::string(param.param.name); });

TEST(RemovalJob, CellsRoundTripAndAnythingElseIsNoJob) {
    RemovalJob job;
    job.dataFolder = "C:\\Users\\Ana Maria\\AppData\\Roaming\\AntiSpywareDAT";
    job.rows.push_back(
        {JobList::Registry, ui::ListRow{"-2147483646", {"SOFTWARE\\G\tloom", "", "100%\r\n"}, 2}});
    const auto back = ParseRemovalJob(RemovalJobText(job));
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->dataFolder, job.dataFolder);
    ASSERT_EQ(back->rows.size(), 1u);
    EXPECT_EQ(back->rows[0].list, JobList::Registry);
    EXPECT_EQ(back->rows[0].row.subItems, job.rows[0].row.subItems);
    EXPECT_EQ(back->rows[0].row.smallIcon, 2);
    EXPECT_TRUE(back->rows[0].row.checked);
    const std::string text = RemovalJobText(job);
    for (const std::string& bad :
         {std::string(), "x" + text, text + "row\tprinters\t0\tx\r\n", text + "row\tfiles\t0\t%zz\r\n",
          std::string("Grimsweep removal job\r\n")}) {
        EXPECT_FALSE(ParseRemovalJob(bad).has_value()) << bad;
    }
}

// An administrator's own removal and a scheduled one ask nothing.
TEST_F(RemovalTest, NoQuestionWhenTheProgramHasAnAdministratorsRightsOrNobodyWatches) {
    sim.BecomeStandardUser();
    for (const bool scheduled : {false, true}) {
        const std::size_t shown = host->Shown().size();
        sim.shell.elevated = !scheduled;
        PlantFile(kMachineFile, "gloom data", "Gloom Data");
        TickAll();
        Removal().automaticDeletion = scheduled;
        PressDelete();
        Removal().automaticDeletion = false;
        EXPECT_TRUE(sim.shell.elevatedRuns.empty());
        EXPECT_EQ(host->Shown().size() - shown, scheduled ? 0u : 1u) << "only the Delete question";
        EXPECT_EQ(Problems(), std::vector<std::string>{kMachineFile});
    }
}

} // namespace
} // namespace grimsweep
