// Fault injection: whatever step of a removal fails, for every kind of item, nothing is lost. Afterwards
// the item is either still in place (and in the problem list), or its complete backup and its records
// exist; and no record names a backup that is not there.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "removal/quarantine_index.h"
#include "removal_fixture.h"

namespace grimsweep {
namespace {

enum class Kind { Executable, Library, PlainFile, Folder, Cookie };

struct FaultCase {
    std::string name;
    Kind kind;
    // Makes one step fail: the machine, the item's path, the quarantine folder, the log and the index.
    std::function<void(sim::SimMachine&, const std::string& item, const std::string& quarantine,
                       const std::string& log, const std::string& index)>
        fault;
    bool removedInTheEnd; // a passing fault: the removal still gets the item
};

void PrintTo(const FaultCase& fault, std::ostream* out) {
    *out << fault.name;
}

std::string ItemPath(Kind kind) {
    switch (kind) {
    case Kind::Executable:
        return "C:\\Temp\\tool.exe";
    case Kind::Library:
        return "C:\\Temp\\hook.dll";
    case Kind::PlainFile:
        return "C:\\Temp\\notes.dat";
    case Kind::Folder:
        return "C:\\Temp\\Nest";
    case Kind::Cookie:
        return "C:\\Documents and Settings\\Tester\\Cookies\\tester@ads[1].txt";
    }
    return {};
}

class RemovalFaultTest : public RemovalTest, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(RemovalFaultTest, NothingIsLost) {
    const FaultCase& fault = GetParam();
    const std::string item = ItemPath(fault.kind);
    const std::string file = fault.kind == Kind::Folder ? item + "\\inner\\a.txt" : item;
    const std::string original = fault.kind == Kind::Folder ? "inner a" : "bytes of " + item;
    switch (fault.kind) {
    case Kind::Folder:
        PlantFolder(item, "Threat");
        break;
    case Kind::Cookie:
        PlantCookie(item);
        sim.files.PutFile(item, original);
        break;
    default:
        PlantFile(item, original, "Threat");
    }
    sim.files.PutFolder(QuarantineFolder(*context));
    fault.fault(sim, fault.kind == Kind::Folder ? item : file, QuarantineFolder(*context),
                QuarantineLogPath(*context), QuarantineIndexPath(*context));
    TickAll();
    PressDelete();

    const std::vector<QuarantineItem> index = ReadQuarantineIndex(*context);
    const QuarantineItem* entry = nullptr;
    for (const QuarantineItem& candidate : index) {
        if (candidate.origin == item) {
            entry = &candidate;
        }
    }
    const std::string backup =
        entry ? Quarantined(entry->backupName) + (fault.kind == Kind::Folder ? "\\inner\\a.txt" : "")
              : std::string();
    if (sim.files.Exists(item)) {
        EXPECT_FALSE(fault.removedInTheEnd) << "a passing fault must not keep the item";
        EXPECT_EQ(Problems(), (std::vector<std::string>{item}));
        EXPECT_EQ(sim.files.Contents(file), original) << "the item is untouched";
        EXPECT_EQ(Texts(kRemovalListName).size(), 1u) << "its row stays";
    } else {
        ASSERT_NE(entry, nullptr) << "a removed item is in the index";
        EXPECT_EQ(sim.files.Contents(backup), original) << "and its backup is complete";
        if (fault.kind != Kind::Folder) {
            EXPECT_EQ(
                Occurrences(Log(), " - File: " + entry->backupName + "\r\n - Location: " + item + "\r\n"), 1);
        }
        EXPECT_TRUE(Problems().empty());
    }
    // The quarantine holds nothing but the log, the index and the backups the index lists: no half copy
    // of a folder, no copy of a file that stayed where it was.
    for (const DirectoryEntry& stored : sim.files.FindEntries(QuarantineFolder(*context) + "\\*")) {
        const bool listed = std::any_of(index.begin(), index.end(), [&](const QuarantineItem& candidate) {
            return candidate.backupName == stored.name;
        });
        EXPECT_TRUE(listed || stored.name == kQuarantineLogName || stored.name == kQuarantineIndexName)
            << "stray " << stored.name;
    }
    if (sim.files.Exists(item) && fault.kind != Kind::Folder) {
        EXPECT_EQ(entry, nullptr) << "a file that stayed is not listed as quarantined";
    }
    // No record claims a backup that is not there.
    const std::string log = Log();
    for (std::size_t at = log.find(" - File: "); at != std::string::npos;
         at = log.find(" - File: ", at + 1)) {
        const std::size_t end = log.find("\r\n", at);
        const std::string name = log.substr(at + 9, end - at - 9);
        EXPECT_TRUE(sim.files.Exists(Quarantined(name))) << name;
    }
}

std::vector<FaultCase> Cases() {
    using sim::FileOp;
    std::vector<FaultCase> cases;
    const std::vector<std::pair<Kind, std::string>> kinds = {{Kind::Executable, "Executable"},
                                                             {Kind::Library, "Library"},
                                                             {Kind::PlainFile, "PlainFile"},
                                                             {Kind::Folder, "Folder"},
                                                             {Kind::Cookie, "Cookie"}};
    for (const auto& [kind, kindName] : kinds) {
        const bool folder = kind == Kind::Folder;
        const auto add = [&, kind = kind, kindName = kindName](std::string what, auto fault, bool removed) {
            cases.push_back({kindName + "_" + what, kind, fault, removed});
        };
        add(
            "CopyFails",
            [folder](sim::SimMachine& m, const std::string& item, auto&, auto&, auto&) {
                if (folder) {
                    m.files.FailNext(FileOp::CopyFolder, item, 1000);
                } else {
                    m.files.SetCopyFails(item, true);
                }
            },
            false);
        add(
            "BackupComesOutShort",
            [folder](sim::SimMachine& m, const std::string& item, auto&, auto&, auto&) {
                m.files.SetCopyTruncated(folder ? item + "\\inner\\a.txt" : item, true);
            },
            false);
        add(
            "DeleteFails",
            [folder](sim::SimMachine& m, const std::string& item, auto&, auto&, auto&) {
                m.files.FailNext(folder ? FileOp::DeleteFolder : FileOp::Delete, item, 1000);
                if (folder) {
                    m.files.FailNext(FileOp::Delete, item + "\\inner\\a.txt", 1000);
                }
            },
            false);
        add(
            "LogCannotBeWritten",
            [](sim::SimMachine& m, auto&, auto&, const std::string& log, auto&) {
                m.files.SetWriteFails(log, true);
            },
            folder);
        add(
            "IndexCannotBeWritten",
            [](sim::SimMachine& m, auto&, auto&, auto&, const std::string& index) {
                m.files.SetWriteFails(index, true);
            },
            false);
        add(
            "QuarantineCannotBeMade",
            [](sim::SimMachine& m, auto&, const std::string& quarantine, auto&, auto&) {
                m.files.DeleteFolder(quarantine);
                m.files.FailNext(FileOp::CreateFolder, quarantine, 1000);
            },
            false);
        add(
            "CopyFailsOnce",
            [folder](sim::SimMachine& m, const std::string& item, auto&, auto&, auto&) {
                m.files.FailNext(folder ? FileOp::CopyFolder : FileOp::Copy, item, 1);
            },
            true);
        add(
            "DeleteFailsOnce",
            [folder](sim::SimMachine& m, const std::string& item, auto&, auto&, auto&) {
                m.files.FailNext(folder ? FileOp::DeleteFolder : FileOp::Delete, item, 1);
            },
            true);
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(EveryKindAndStep, RemovalFaultTest, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<FaultCase>& param) { return param.param.name; });

} // namespace
} // namespace grimsweep
