// The registry stage on the simulated registry: what a present, safe, excluded or unreadable item
// gives, once-per-threat listing, the counters and progress, and the stop request.
#include "scan/registry_scan.h"

#include <gtest/gtest.h>

#include "definitions/definition_files.h"
#include "scan_fixture.h"
#include "ui/list_icons.h"

namespace grimsweep {
namespace {

constexpr auto kMachine = RegistryRoot::LocalMachine;
constexpr auto kUser = RegistryRoot::CurrentUser;

class RegistryScanTest : public ScanStageTest {
protected:
    void Scan(const std::vector<std::string>& plainLines) {
        PutDefinitions(kRegistryDefinitionFile, plainLines);
        ScanRegistry(run);
    }
    void SetValue(RegistryRoot root, const std::string& key, const std::string& name,
                  const RegistryValue& value) {
        sim.registry.CreateKey(root, key);
        ASSERT_EQ(sim.registry.SetValue(root, key, name, value), kRegistryOk);
    }
};

TEST_F(RegistryScanTest, TwoPresentRecordsOfOneThreatGiveTwoTracesButOneListing) {
    sim.registry.PutString(kMachine, "Software\\Run", "Evil", "evil.exe");
    sim.registry.CreateKey(kUser, "Software\\Evil");
    Scan({"2^Software\\Run^Evil^=Evil Toolbar|Hijacker", "1^Software\\Evil^^=evil toolbar"});

    EXPECT_EQ(lists.Registry().Rows().size(), 2u);
    EXPECT_EQ(state.counters.traces, 2);
    EXPECT_EQ(Texts(lists.Found()), std::vector<std::string>{"Evil Toolbar - Found"});
    ASSERT_EQ(lists.Removal().Rows().size(), 1u);
    EXPECT_EQ(state.counters.threatsFound, 1);

    // The value's display path joins key path and value name without a separator.
    const auto& removal = lists.Removal().Rows()[0];
    EXPECT_EQ(removal.text, "Evil Toolbar");
    EXPECT_EQ(removal.smallIcon, ui::kIconRegistry);
    EXPECT_EQ(removal.SubItem(1), "HKEY_LOCAL_MACHINE\\Software\\RunEvil");
    EXPECT_EQ(removal.SubItem(2), "Hijacker");
    const auto& hidden = lists.Registry().Rows();
    EXPECT_EQ(hidden[0].text, "-2147483646");
    EXPECT_EQ(hidden[0].SubItem(2), "Evil");
    EXPECT_EQ(hidden[1].text, "-2147483647");
    EXPECT_EQ(hidden[1].SubItem(2), "") << "a key record has no value name";
    EXPECT_EQ(hidden[1].SubItem(3), "evil toolbar");
}

TEST_F(RegistryScanTest, SafeItemsAreSkippedBeforeExclusionsAreConsulted) {
    sim.registry.PutString(kMachine, "Software\\Run", "Safe", "x");
    sim.registry.PutString(kMachine, "Software\\Run", "Mine", "x");
    sim.registry.PutString(kMachine, "Software\\Kept", "Tool", "x");
    // A safe-list value entry carries a backslash before the value name, which the display path
    // lacks; an entry written without it matches.
    definitions.safeList.Assign(
        {"HKEY_LOCAL_MACHINE\\Software\\RunSafe", "HKEY_LOCAL_MACHINE\\Software\\Run\\Mine"});
    definitions.exclusions.Assign(
        "hkey_local_machine\\software\\runsafe|HKEY_LOCAL_MACHINE\\Software\\Kept|");
    Scan({"2^Software\\Run^Safe^=A", "2^Software\\Run^Mine^=B", "2^Software\\Kept^Tool^=C"});

    // Safe and excluded: nothing. Excluded through its key: shown with the value's display path.
    EXPECT_EQ(Texts(lists.Found()),
              (std::vector<std::string>{"B - Found", "EXCLUDED: HKEY_LOCAL_MACHINE\\Software\\KeptTool"}));
    EXPECT_EQ(lists.Found().Rows()[1].smallIcon, ui::kIconExcluded);
    EXPECT_EQ(lists.Registry().Rows().size(), 1u);
    EXPECT_EQ(state.counters.threatsFound, 1);
    EXPECT_EQ(state.counters.traces, 1);
}

TEST_F(RegistryScanTest, RecordsWithoutAThreatName) {
    sim.registry.CreateKey(kUser, "Software\\Nameless");
    sim.registry.CreateKey(kUser, "Software\\Other");
    sim.registry.PutString(kUser, "Software\\Other", "Value", "x");
    Scan({"1^Software\\Nameless^^=", "1^Software\\Other^^= |details", "1^Software\\Other^Value^="});

    // Keys are listed by their path, without an icon; a value gets only its hidden row.
    EXPECT_EQ(Texts(lists.Found()), (std::vector<std::string>{"RegKey Software\\Nameless - Found",
                                                              "RegKey Software\\Other - Found"}));
    EXPECT_EQ(lists.Found().Rows()[0].smallIcon, 0);
    ASSERT_EQ(lists.Removal().Rows().size(), 2u);
    const auto& row = lists.Removal().Rows()[1];
    EXPECT_EQ(row.text, "Software\\Other");
    EXPECT_EQ(row.smallIcon, ui::kIconRegistry);
    EXPECT_EQ(row.subItems, std::vector<std::string>{"HKEY_CURRENT_USER\\Software\\Other"});
    EXPECT_EQ(lists.Registry().Rows().size(), 3u);
    EXPECT_EQ(state.counters.traces, 3);
    EXPECT_EQ(state.counters.threatsFound, 2);
}

TEST_F(RegistryScanTest, OnlyTextAndNumberValuesCount) {
    const std::string key = "Software\\Types";
    RegistryValue expandable = RegistryValue::String("%SystemRoot%\\evil.dll");
    expandable.type = RegistryValueType::ExpandString;
    RegistryValue binary;
    binary.type = RegistryValueType::Binary;
    binary.bytes = "\x01\x02";
    RegistryValue multi;
    multi.type = RegistryValueType::MultiString;
    multi.bytes = std::string("a\0\0\0b\0\0\0\0\0", 10); // UTF-16LE, as the system keeps it
    SetValue(kUser, key, "Text", RegistryValue::String("plain"));
    SetValue(kUser, key, "Expand", expandable);
    SetValue(kUser, key, "Number", RegistryValue::Dword(7));
    SetValue(kUser, key, "Raw", binary);
    SetValue(kUser, key, "Multi", multi);

    RegistryValue out;
    ASSERT_EQ(QueryRegistryValue(sim.registry, kUser, key, "expand", out), kRegistryOk);
    EXPECT_EQ(out.text, "%SystemRoot%\\evil.dll") << "read as stored, not expanded";
    EXPECT_EQ(QueryRegistryValue(sim.registry, kUser, key, "Raw", out), kRegistryUnreadType);
    EXPECT_EQ(QueryRegistryValue(sim.registry, kUser, key, "Missing", out), kRegistryNotFound);

    Scan({"1^Software\\Types^Text^=T", "1^Software\\Types^Expand^=E", "1^Software\\Types^Number^=N",
          "1^Software\\Types^Raw^=R", "1^Software\\Types^Multi^=M", "1^Software\\Types^Missing^=X"});
    EXPECT_EQ(Texts(lists.Found()), (std::vector<std::string>{"T - Found", "E - Found", "N - Found"}));
    EXPECT_EQ(state.counters.registryEntries, 6);
}

// A standard user may read machine-wide keys but not write them: presence is tested with read access,
// so their threats are found all the same.
TEST_F(RegistryScanTest, KeysTheUserMayOnlyReadAreFound) {
    sim.registry.PutString(kMachine, "Software\\Guarded", "Run", "x");
    sim.BecomeStandardUser();
    EXPECT_TRUE(RegistryKeyPresent(sim.registry, kMachine, "Software\\Guarded"));
    EXPECT_TRUE(RegistryValuePresent(sim.registry, kMachine, "Software\\Guarded", "Run"));

    Scan({"2^Software\\Guarded^^=Key", "2^Software\\Guarded^Run^=Value", "2^Software\\Guarded\\Below^^=Sub"});
    EXPECT_EQ(Texts(lists.Found()), (std::vector<std::string>{"Key - Found", "Value - Found"}));
    EXPECT_EQ(state.counters.registryEntries, 3);
}

// On 64-bit Windows, 32-bit programs' machine-wide keys lie under Software\Wow6432Node: a record of
// HKLM\Software finds them there, named by that path, once per record in the progress.
TEST_F(RegistryScanTest, ThirtyTwoBitKeysAreFoundUnderWow6432Node) {
    sim.registry.CreateKey(kMachine, "SOFTWARE\\Wow6432Node\\Gloom");
    sim.registry.PutString(kMachine, "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run",
                           "Gloom", "x");
    Scan({"2^Software\\Gloom^^=Gloom Key",
          "2^Software\\Microsoft\\Windows\\CurrentVersion\\Run^Gloom^=Gloom Run"});
    EXPECT_EQ(Texts(lists.Found()), (std::vector<std::string>{"Gloom Key - Found", "Gloom Run - Found"}));
    ASSERT_EQ(lists.Removal().Rows().size(), 2u);
    EXPECT_EQ(lists.Removal().Rows()[0].subItems[0], "HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\Gloom");
    EXPECT_EQ(state.counters.registryEntries, 2);

    // A key the safe list keeps is kept in both views.
    lists.Clear();
    sim.registry.CreateKey(kMachine, "SOFTWARE\\Wow6432Node\\Clear");
    definitions.safeList.Assign({"HKEY_LOCAL_MACHINE\\Software\\Clear"});
    Scan({"2^Software\\Clear^^=Gloom Key"});
    EXPECT_TRUE(lists.Removal().Rows().empty());
}

TEST_F(RegistryScanTest, CountsValidRecordsAndReportsTheirLowerCasePath) {
    sim.registry.CreateKey(kMachine, "Software\\Found");
    definitions.counts = {
        .cookies = 10, .executables = 20, .registry = 5, .filesAndFolders = 65, .total = 100};
    state.stagePrefix = "Scanning registry: ";
    // A trimmed key path is tested; the path as written is shown. Blank and unknown codes don't count.
    Scan({"2^ Software\\Found ^^=K|d", " ^Software\\X^^=Blank", "9^Software\\X^^=Unknown",
          "2^Software\\Run^Evil Value^=V", "no equals sign"});

    EXPECT_EQ(state.counters.registryEntries, 2);
    EXPECT_EQ(feedback.statuses,
              (std::vector<std::string>{"Scanning registry: \r\n software\\found \\",
                                        "Scanning registry: \r\nsoftware\\run\\evil value"}));
    EXPECT_EQ(feedback.stagePercents, (std::vector<double>{20, 40}));
    EXPECT_EQ(feedback.overallPercents, (std::vector<double>{31, 32}));
    EXPECT_EQ(feedback.pumps, 5) << "once per line, counted or not";
    ASSERT_EQ(lists.Removal().Rows().size(), 1u);
    EXPECT_EQ(lists.Removal().Rows()[0].SubItem(1), "HKEY_LOCAL_MACHINE\\ Software\\Found ");
    EXPECT_EQ(lists.Removal().Rows()[0].SubItem(2), "d");
}

TEST_F(RegistryScanTest, StopIsHonouredOnlyWhileAUserScanRuns) {
    for (const std::string key : {"Software\\A", "Software\\B", "Software\\C"}) {
        sim.registry.CreateKey(kUser, key);
    }
    const std::vector<std::string> lines = {"1^Software\\A^^=A", "1^Software\\B^^=B", "1^Software\\C^^=C"};
    feedback.onReport = [this] { state.stopRequested = true; };
    Scan(lines);
    // The first record is finished; the stop is seen at the next line, before it is inspected.
    EXPECT_EQ(Texts(lists.Found()), std::vector<std::string>{"A - Found"});
    EXPECT_EQ(state.counters.registryEntries, 1);

    lists.Clear();
    state = {};
    feedback.userScan = false;
    Scan(lines);
    EXPECT_EQ(lists.Found().Rows().size(), 3u) << "a flag left by a cancelled scan is ignored";
}

TEST_F(RegistryScanTest, AMissingDefinitionFileEndsTheStageQuietly) {
    ScanRegistry(run);
    EXPECT_EQ(feedback.pumps, 0);
    EXPECT_EQ(state.counters.registryEntries, 0);
}

} // namespace
} // namespace grimsweep
