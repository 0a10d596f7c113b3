// The Delete command end to end on a simulated machine: the question, both passes, the quarantine log,
// the lists afterwards, the problem window and the removed-items total.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/settings_keys.h"
#include "removal/quarantine_index.h"
#include "removal/quarantine_restore.h"
#include "removal_fixture.h"

namespace grimsweep {
namespace {

using namespace settings;

const std::string kUser = "C:\\Documents and Settings\\Tester";

TEST_F(RemovalTest, NothingTickedShowsTheSelectionMessageAndAutomaticDeletionShowsNothing) {
    PlantFile("C:\\Temp\\gloom.exe", "MZ gloom", "Gloom");
    const std::size_t before = host->Shown().size();
    Control("Command4").Click();
    ASSERT_EQ(host->Shown().size(), before + 1);
    EXPECT_EQ(host->Shown().back().text, context->messages.getMessages("MSG_SELECTED"));
    EXPECT_EQ(host->Shown().back().icon, MessageBoxIcon::Information);
    EXPECT_EQ(host->Shown().back().title, context->brand.programName);

    Removal().automaticDeletion = true;
    Removal().ConfirmAndRemove();
    Removal().automaticDeletion = false;
    EXPECT_EQ(host->Shown().size(), before + 1);
    EXPECT_TRUE(sim.files.Exists("C:\\Temp\\gloom.exe"));
    EXPECT_EQ(Setting(kSectionSettings, kDefRemoved), "<unset>");
}

TEST_F(RemovalTest, TheQuestionNamesTheQuarantineAndTheRestorePointOnlyWhereTheSystemOffersOne) {
    PlantFile("C:\\Temp\\gloom.exe", "MZ gloom", "Gloom");
    TickAll();
    PressDelete(MessageBoxAnswer::No);
    const MessageBoxRequest& xp = host->Shown().back();
    EXPECT_EQ(xp.buttons, MessageBoxButtons::YesNo);
    EXPECT_EQ(xp.title, "Really Delete?");
    EXPECT_EQ(xp.text,
              "Are you sure you want to delete the selected files?\r\n\r\n"
              "Deleted files will be backed up in the following folder in case you need to recover "
              "them:\r\n\r\n" +
                  QuarantineFolder(*context) +
                  "\r\n\r\nIn addition, a System Restore Point will be created using Windows System "
                  "Restore, accessible through:\r\n\r\nStart > Programs > Accessories > System Tools > "
                  "System Restore");
    EXPECT_TRUE(sim.files.Exists("C:\\Temp\\gloom.exe")) << "No removes nothing";
    EXPECT_TRUE(sim.restorePoints.begun.empty());

    sim.system.osVersion = {kPlatformNt, 5, 0, 2195}; // Windows 2000
    PressDelete(MessageBoxAnswer::Yes);
    EXPECT_EQ(host->Shown().back().text.find("Restore Point"), std::string::npos);
    EXPECT_FALSE(sim.files.Exists("C:\\Temp\\gloom.exe"));
    EXPECT_TRUE(sim.restorePoints.begun.empty()) << "no restore point where the system has none";
}

TEST_F(RemovalTest, TickedItemsOfEveryKindGoIntoTheQuarantineOnceAndUntickedOnesStay) {
    PlantFile("C:\\Temp\\gloom.exe", "MZ gloom exe", "Gloom exe");
    PlantFile("C:\\Temp\\gloomhook.dll", "MZ gloom dll", "Gloom dll");
    PlantFile("C:\\Temp\\gloom.ini", "[gloom]", "Gloom ini");
    PlantFolder("C:\\Program Files\\Gloom Toolbar", "Gloom folder");
    PlantValue("Software\\Microsoft\\Windows\\CurrentVersion\\Run", "GloomUpdate", "Gloom run");
    PlantValue("Software\\PebblePop", "", "PebblePop");
    sim.registry.PutString(RegistryRoot::CurrentUser, "Software\\PebblePop\\Sub", "x", "y");
    PlantCookie(kUser + "\\Cookies\\user@gloomads[1].txt");
    PlantFile("C:\\Temp\\keep.exe", "MZ keep", "Keep");
    sim.libraries.exports["C:\\TEMP\\GLOOMHOOK.DLL"] = {"DllUnregisterServer"};
    TickAll();
    Control(kRemovalListName).SetRowChecked(7, false); // keep.exe

    PressDelete();

    for (const char* gone : {"C:\\Temp\\gloom.exe", "C:\\Temp\\gloomhook.dll", "C:\\Temp\\gloom.ini",
                             "C:\\Program Files\\Gloom Toolbar"}) {
        EXPECT_FALSE(sim.files.Exists(gone)) << gone;
    }
    EXPECT_FALSE(sim.files.Exists(kUser + "\\Cookies\\user@gloomads[1].txt"));
    EXPECT_TRUE(sim.files.Exists("C:\\Temp\\keep.exe"));
    EXPECT_EQ(sim.files.Contents(Quarantined("gloom.exe")), "MZ gloom exe");
    EXPECT_EQ(sim.files.Contents(Quarantined("gloomhook.dll")), "MZ gloom dll");
    EXPECT_EQ(sim.files.Contents(Quarantined("Gloom Toolbar\\inner\\a.txt")), "inner a");
    EXPECT_EQ(sim.files.Contents(Quarantined("user@gloomads[1].txt")), "cookie");
    EXPECT_FALSE(sim.files.Exists(Quarantined("keep.exe")));
    EXPECT_FALSE(sim.registry.KeyExists(RegistryRoot::CurrentUser, "Software\\PebblePop"));
    RegistryValue value;
    EXPECT_EQ(sim.registry.QueryValue(RegistryRoot::CurrentUser,
                                      "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "GloomUpdate",
                                      kKeyRead, value),
              kRegistryNotFound);
    EXPECT_EQ(sim.libraries.probes, (std::vector<std::string>{"C:\\Temp\\gloomhook.dll!DllUnregisterServer",
                                                              "C:\\Temp\\gloomhook.dll!DllUnregisterServer"}))
        << "looked up before and inside the COM-server routine of the first pass; the checking pass passes "
           "over the file, which is gone";

    // Each item once, in the order removed; the folder has no record, the key's default value one.
    const std::string t = Now();
    const std::string run = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    EXPECT_EQ(Log(), t + " - File: gloom.exe\r\n - Location: C:\\Temp\\gloom.exe\r\n\r\n\r\n" + t +
                         " - File: gloomhook.dll\r\n - Location: C:\\Temp\\gloomhook.dll\r\n\r\n\r\n" + t +
                         " - File: gloom.ini\r\n - Location: C:\\Temp\\gloom.ini\r\n\r\n\r\n" + t +
                         " - Key: " + run + "\r\nValue: GloomUpdate\r\n\r\n\r\n" + t +
                         " - Key: HKEY_CURRENT_USER\\Software\\PebblePop\r\nValue: \r\n\r\n\r\n" + t +
                         " - Key: -2147483647\\Software\\PebblePop\r\nValue: All Values\r\n\r\n\r\n" + t +
                         " - File: user@gloomads[1].txt\r\n - Location: " + kUser +
                         "\\Cookies\\user@gloomads[1].txt\r\n\r\n\r\n");

    EXPECT_EQ(Texts(kRemovalListName), (std::vector<std::string>{"Keep"}));
    EXPECT_EQ(Texts("lvwFilesToBeDeleted"), (std::vector<std::string>{"C:\\Temp\\keep.exe"}));
    EXPECT_TRUE(Texts("lvwRegistryToBeDeleted").empty());
    EXPECT_TRUE(Problems().empty());
    EXPECT_EQ(Setting(kSectionSettings, kDefRemoved), "7") << "the ticked rows that went";
    EXPECT_EQ(Control("lblDefRemoved").Caption(), "7");

    ASSERT_EQ(sim.restorePoints.begun.size(), 1u);
    EXPECT_EQ(sim.restorePoints.begun[0], (context->brand.programName + " Restore Point " + t).substr(0, 63));
    EXPECT_EQ(sim.restorePoints.lastType, 6u);
    EXPECT_EQ(sim.restorePoints.ended, (std::vector<std::int64_t>{1}));
    EXPECT_EQ(Control("lblDeletingPercentageCompleted").Caption(), "100% complete");
    EXPECT_FALSE(Control("pgbDeleteSpywaresFound").Visible());
    EXPECT_TRUE(Control("Command4").Enabled());

    // A second removal finds the unticked file, and the log grows.
    TickAll();
    PressDelete();
    EXPECT_FALSE(sim.files.Exists("C:\\Temp\\keep.exe"));
    EXPECT_EQ(Occurrences(Log(), " - File: "), 5);
    EXPECT_EQ(Setting(kSectionSettings, kDefRemoved), "8");
}

TEST_F(RemovalTest, ItemsOfOneNameEachKeepTheirOwnBackupAndRecord) {
    PlantFile("C:\\a\\tool.exe", "first tool", "Tool a");
    PlantFile("C:\\b\\tool.exe", "second tool", "Tool b");
    PlantFolder("C:\\x\\Gloom", "Gloom x");
    PlantFolder("C:\\y\\Gloom", "Gloom y");
    sim.files.PutFile("C:\\y\\Gloom\\only-in-y.txt", "y");
    TickAll();
    PressDelete();

    EXPECT_EQ(sim.files.Contents(Quarantined("tool.exe")), "first tool");
    EXPECT_EQ(sim.files.Contents(Quarantined("tool (2).exe")), "second tool");
    EXPECT_FALSE(sim.files.Exists(Quarantined("Gloom\\only-in-y.txt")));
    EXPECT_EQ(sim.files.Contents(Quarantined("Gloom (2)\\only-in-y.txt")), "y");
    EXPECT_NE(Log().find(" - File: tool (2).exe\r\n - Location: C:\\b\\tool.exe\r\n"), std::string::npos);

    std::vector<std::string> origins;
    for (const QuarantineItem& item : ReadQuarantineIndex(*context)) {
        origins.push_back(item.backupName + " <- " + item.origin);
    }
    EXPECT_EQ(origins,
              (std::vector<std::string>{"tool.exe <- C:\\a\\tool.exe", "tool (2).exe <- C:\\b\\tool.exe",
                                        "Gloom <- C:\\x\\Gloom", "Gloom (2) <- C:\\y\\Gloom"}));
}

TEST_F(RemovalTest, ALockedLibraryIsListedOnceWithoutARecordAndKeepsItsRows) {
    PlantFile("C:\\Temp\\locked.dll", "MZ locked", "Locked");
    PlantFile("C:\\Temp\\other.exe", "MZ other", "Other");
    sim.files.SetHeldOpenForReading("C:\\Temp\\locked.dll", true);
    TickAll();
    PressDelete();

    EXPECT_EQ(Problems(), (std::vector<std::string>{"C:\\Temp\\locked.dll"}));
    EXPECT_TRUE(Removal().Problems().Window().Visible());
    EXPECT_EQ(Log().find("locked.dll"), std::string::npos);
    EXPECT_EQ(Texts(kRemovalListName), (std::vector<std::string>{"Locked"}));
    EXPECT_EQ(Texts("lvwFilesToBeDeleted"), (std::vector<std::string>{"C:\\Temp\\locked.dll"}));
    EXPECT_FALSE(Control(kRemovalListName).Rows()[0].checked);
    EXPECT_EQ(Setting(kSectionSettings, kDefRemoved), "1") << "only the item that went counts";

    // Copy List puts the entries on the clipboard, each with CR LF; Ok hides the window.
    Removal().Problems().Window().Get("cmdCopy").Click();
    EXPECT_EQ(sim.system.clipboard, "C:\\Temp\\locked.dll\r\n");
    Removal().Problems().Window().Get("cmdOk").Click();
    EXPECT_FALSE(Removal().Problems().Window().Visible());

    // A new scan hides and empties the problem list.
    PressDelete(); // nothing ticked now: only the message
    Removal().Problems().Show();
    window->Scan().hooks.hideProblemList();
    EXPECT_TRUE(Problems().empty());
}

TEST_F(RemovalTest, RegistryEntriesAndCookiesThatStayAreListedAndKeepTheirRows) {
    PlantValue("Software\\Gloom", "Stuck", "Stuck value");
    PlantValue("Software\\Held", "", "Held key");
    PlantCookie(kUser + "\\Cookies\\user@held[1].txt");
    sim.registry.SetValueDeleteFails(RegistryRoot::CurrentUser, "Software\\Gloom", true);
    sim.registry.SetKeyDeleteFails(RegistryRoot::CurrentUser, "Software\\Held", true);
    sim.files.FailNext(sim::FileOp::Delete, kUser + "\\Cookies\\user@held[1].txt", 100);
    TickAll();
    PressDelete();

    EXPECT_EQ(Problems(), (std::vector<std::string>{"HKEY_CURRENT_USER\\Software\\Gloom\\Stuck",
                                                    "HKEY_CURRENT_USER\\Software\\Held",
                                                    kUser + "\\Cookies\\user@held[1].txt"}));
    EXPECT_EQ(Texts(kRemovalListName).size(), 3u);
    EXPECT_EQ(Texts("lvwRegistryToBeDeleted").size(), 2u);
    EXPECT_EQ(Log().find("Stuck"), std::string::npos) << "a value that stayed has no record";
    EXPECT_EQ(Log().find("All Values"), std::string::npos) << "a key that stayed has no key record";
    EXPECT_EQ(Setting(kSectionSettings, kDefRemoved), "0");
}

// Whatever a definition says and however it spells them, protected places and keys are neither backed up
// nor touched: each is listed with its reason, and the ordinary items beside them go.
TEST_F(RemovalTest, ProtectedLocationsAreNeverTouchedWhateverTheDefinitionsSay) {
    sim.files.PutFile(kUser + "\\My Documents\\thesis.doc", "years of work");
    sim.files.PutFile(kUser + "\\Desktop\\notes.txt", "notes");
    sim.files.PutFile(Quarantined("earlier.exe"), "an earlier backup");
    sim.files.PutFile("C:\\WINDOWS\\system32\\drivers\\disk.sys", "driver");
    sim.files.PutFile("C:\\WINDOWS\\Fonts\\serif.ttf", "font");
    sim.files.PutFolder("C:\\Temp");
    sim.files.AddShortName("C:\\Program Files", "PROGRA~1");
    const std::vector<std::string> paths = {
        "C:\\",
        "C:\\WINDOWS.",
        "c:/windows/system32/",
        "C:\\WINDOWS\\system32\\drivers. .",
        "C:\\WINDOWS\\Fonts\\",
        "C:\\PROGRA~1",
        kUser,
        kUser + "\\..",
        kUser + "\\My Documents.",
        kUser + "\\Desktop",
        context->dataFolder,
        Quarantined("earlier.exe"),
        "C:\\Temp\\..\\WINDOWS",
        "\\\\?\\C:\\WINDOWS\\system32",
        "\\\\localhost\\C$\\WINDOWS",
        "C:\\WINDOWS::$INDEX_ALLOCATION",
    };
    for (const std::string& path : paths) {
        Lists().AddRemovalRow(path, ui::kIconFolder, path, "");
        Lists().AddFileRow(path, path);
    }
    PlantValue("Software\\Gloom", "", "Gloom Software key");
    PlantValue("Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Gloom", "Gloom Run value");
    sim.registry.PutString(RegistryRoot::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                           "Sidebar", "sidebar.exe");
    for (const std::string key : {"Software", "Software\\Microsoft\\Windows\\CurrentVersion\\Run\\"}) {
        Lists().AddRemovalRow(key, ui::kIconRegistry, "HKEY_CURRENT_USER\\" + key, "");
        Lists().AddRegistryRow(RegistryRoot::CurrentUser, key, "", key);
    }
    PlantFile("C:\\Temp\\gloom.exe", "MZ gloom", "Gloom");
    TickAll();
    PressDelete();

    std::vector<std::string> refused = paths;
    refused.push_back("HKEY_CURRENT_USER\\Software");
    refused.push_back("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\");
    EXPECT_EQ(Problems(), refused);
    for (const std::string& entry : Removal().Problems().EntriesWithReasons()) {
        EXPECT_TRUE(entry.ends_with(" - protected Windows location, not removed") ||
                    entry.ends_with(" - protected Windows registry key, not removed") ||
                    entry.ends_with(" - not a path on this computer's drives, not touched"))
            << entry;
    }
    EXPECT_EQ(sim.files.Contents(kUser + "\\My Documents\\thesis.doc"), "years of work");
    EXPECT_EQ(sim.files.Contents(kUser + "\\Desktop\\notes.txt"), "notes");
    EXPECT_EQ(sim.files.Contents(Quarantined("earlier.exe")), "an earlier backup");
    EXPECT_EQ(sim.files.Contents("C:\\WINDOWS\\system32\\drivers\\disk.sys"), "driver");
    EXPECT_EQ(sim.files.Contents("C:\\WINDOWS\\Fonts\\serif.ttf"), "font");
    EXPECT_FALSE(sim.files.Exists(Quarantined("WINDOWS")));
    EXPECT_FALSE(sim.files.Exists(Quarantined("Software.reg")));
    RegistryValue value;
    EXPECT_EQ(sim.registry.QueryValue(RegistryRoot::CurrentUser,
                                      "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Sidebar",
                                      kKeyRead, value),
              kRegistryOk)
        << "the Run key stays with its other values";
    EXPECT_NE(sim.registry.QueryValue(RegistryRoot::CurrentUser,
                                      "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Gloom", kKeyRead,
                                      value),
              kRegistryOk)
        << "a spyware Run value still goes";
    EXPECT_EQ(sim.registry.OpenKey(RegistryRoot::CurrentUser, "Software\\Gloom", kKeyRead),
              kRegistryNotFound);
    EXPECT_FALSE(sim.files.Exists("C:\\Temp\\gloom.exe"));
    EXPECT_EQ(Problems().size(), refused.size()) << "the ordinary items went";
}

// No depth limit leaves part of a tree behind: a folder seventy levels deep is backed up whole, removed,
// and comes back from the quarantine.
TEST_F(RemovalTest, AFolderSeventyLevelsDeepGoesAndComesBackWhole) {
    std::string deepest = "C:\\Temp\\Abyss";
    for (int level = 0; level < 70; ++level) {
        deepest += "\\d";
    }
    sim.files.PutFile(deepest + "\\bottom.dat", "bottom");
    Lists().AddRemovalRow("Abyss", ui::kIconFolder, "C:\\Temp\\Abyss", "");
    Lists().AddFileRow("C:\\Temp\\Abyss", "Abyss");
    TickAll();
    PressDelete();

    EXPECT_FALSE(sim.files.Exists("C:\\Temp\\Abyss"));
    EXPECT_TRUE(Problems().empty());
    const auto items = ReadQuarantineIndex(*context);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_TRUE(RestoreQuarantinedItem(*context, items[0], nullptr).Restored());
    EXPECT_EQ(sim.files.Contents(deepest + "\\bottom.dat"), "bottom");
}

// Items of one name removed at different times keep backups and numbers of their own: each restores its
// own bytes to its own place, whatever order they are restored in.
TEST_F(RemovalTest, AnOlderAndANewerItemOfOneNameRestoreToTheirOwnPlaces) {
    PlantFile("C:\\Old\\tool.exe", "MZ old", "Old tool");
    TickAll();
    PressDelete();
    PlantFile("C:\\New\\tool.exe", "MZ new", "New tool");
    TickAll();
    PressDelete();
    const auto items = ReadQuarantineIndex(*context);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_NE(items[0].backupName, items[1].backupName);
    EXPECT_NE(items[0].number, items[1].number);

    EXPECT_TRUE(RestoreQuarantinedItem(*context, items[1], nullptr).Restored());
    EXPECT_TRUE(RestoreQuarantinedItem(*context, items[0], nullptr).Restored());
    EXPECT_EQ(sim.files.Contents("C:\\Old\\tool.exe"), "MZ old");
    EXPECT_EQ(sim.files.Contents("C:\\New\\tool.exe"), "MZ new");
    const auto after = ReadQuarantineIndex(*context);
    EXPECT_TRUE(after[0].restored && after[1].restored);
}

// A removed cookie leaves the lists like every other kind: restored from the quarantine, it is not
// removed again by the next Delete.
TEST_F(RemovalTest, ARestoredCookieIsNotRemovedAgainByTheNextDelete) {
    const std::string cookie = kUser + "\\Cookies\\user@gloom[1].txt";
    PlantCookie(cookie);
    TickAll();
    PressDelete();
    EXPECT_TRUE(Lists().Cookies().Rows().empty());
    const auto items = ReadQuarantineIndex(*context);
    ASSERT_EQ(items.size(), 1u);
    ASSERT_TRUE(RestoreQuarantinedItem(*context, items[0], nullptr).Restored());

    PlantFile("C:\\Temp\\later.exe", "MZ later", "Later");
    TickAll();
    PressDelete();
    EXPECT_EQ(sim.files.Contents(cookie), "cookie");
    EXPECT_FALSE(sim.files.Exists("C:\\Temp\\later.exe"));
}

TEST_F(RemovalTest, AFolderLinkInsideARemovedFolderGoesWithoutItsTarget) {
    sim.files.PutFile(kUser + "\\My Documents\\thesis.doc", "years of work");
    PlantFolder("C:\\Program Files\\Gloom", "Gloom");
    sim.files.PutFolderLink("C:\\Program Files\\Gloom\\docs", kUser + "\\My Documents");
    TickAll();
    PressDelete();

    EXPECT_FALSE(sim.files.Exists("C:\\Program Files\\Gloom"));
    EXPECT_EQ(sim.files.Contents(kUser + "\\My Documents\\thesis.doc"), "years of work");
    EXPECT_FALSE(sim.files.Exists(Quarantined("Gloom\\docs\\thesis.doc"))) << "the link is not followed";
    EXPECT_EQ(sim.files.Contents(Quarantined("Gloom\\b.dat")), "bee");
}

TEST_F(RemovalTest, OnlyAProgramRunningFromTheRemovedFileIsStopped) {
    PlantFile("C:\\Downloads\\setup.exe", "MZ bundled", "Bundled setup");
    const std::uint32_t listed = sim.processes.Start("C:\\Downloads\\setup.exe");
    const std::uint32_t installer = sim.processes.Start("C:\\Installer\\setup.exe");
    PlantFile("C:\\Temp\\stubborn.exe", "MZ stubborn", "Stubborn");
    sim.processes.Find(sim.processes.Start("C:\\Temp\\stubborn.exe"))->refusesToStop = true;
    TickAll();
    PressDelete();

    EXPECT_EQ(sim.processes.terminated, (std::vector<std::uint32_t>{listed}));
    EXPECT_NE(sim.processes.Find(installer), nullptr);
    EXPECT_FALSE(sim.files.Exists("C:\\Downloads\\setup.exe"));
    EXPECT_TRUE(sim.files.Exists("C:\\Temp\\stubborn.exe")) << "left in place while it runs";
    EXPECT_EQ(Problems(), (std::vector<std::string>{"C:\\Temp\\stubborn.exe"}));
}

TEST_F(RemovalTest, WhileARemovalRunsNothingStartsAnotherScanRemovalOrUpdate) {
    PlantFile("C:\\Temp\\gloom.exe", "MZ gloom", "Gloom");
    TickAll();
    bool checked = false;
    host->onPump = [&] {
        if (checked) {
            return;
        }
        checked = true;
        for (const char* command : {"cmdScanNow", "cmdUpdate", "Command4"}) {
            EXPECT_FALSE(Control(command).Enabled()) << command;
        }
        window->Scan().StartScan(); // the label and the scheduler reach it without the button
        EXPECT_EQ(window->ScanStatus().started, LocalDateTime{}) << "no scan starts inside a removal";
    };
    PressDelete();
    host->onPump = nullptr;
    EXPECT_TRUE(checked);
    EXPECT_FALSE(sim.files.Exists("C:\\Temp\\gloom.exe"));
    for (const char* command : {"cmdScanNow", "cmdUpdate", "Command4"}) {
        EXPECT_TRUE(Control(command).Enabled()) << command;
    }
}

} // namespace
} // namespace grimsweep

namespace grimsweep {
namespace {

TEST_F(RemovalTest, AScheduledScanWithAutomaticDeletionRemovesEverythingFoundWithoutAQuestion) {
    PlantFile("C:\\Temp\\gloom.exe", "MZ gloom", "Gloom");
    PlantFile("C:\\Temp\\pebble.exe", "MZ pebble", "Pebble");
    const std::size_t before = host->Shown().size();
    window->Scan().hooks.removeWithoutQuestions();
    EXPECT_EQ(host->Shown().size(), before);
    EXPECT_FALSE(sim.files.Exists("C:\\Temp\\gloom.exe"));
    EXPECT_FALSE(sim.files.Exists("C:\\Temp\\pebble.exe"));
    EXPECT_FALSE(Removal().automaticDeletion) << "a later Delete asks again";
}

} // namespace
} // namespace grimsweep

namespace grimsweep {
namespace {

TEST_F(RemovalTest, ProgressCountsTheListWithHalvesRoundedToEvenAndShowsEachItemInLowerCase) {
    for (int i = 1; i <= 8; ++i) {
        PlantFile("C:\\Temp\\Item" + std::to_string(i) + ".DAT", "x", "Item " + std::to_string(i));
    }
    TickAll();
    std::vector<std::string> statuses;
    std::vector<std::string> items;
    host->onPump = [&] {
        const std::string status = Control("lblDeletingPercentageCompleted").Caption();
        if (statuses.empty() || statuses.back() != status) {
            statuses.push_back(status);
        }
        const std::string item = Control("lblDeletingCaption").Caption();
        if (!item.empty() && (items.empty() || items.back() != item)) {
            items.push_back(item);
        }
    };
    PressDelete();
    host->onPump = nullptr;
    const auto seen = [&](const std::string& status) {
        return std::find(statuses.begin(), statuses.end(), status) != statuses.end();
    };
    EXPECT_TRUE(seen("Gathering information...")) << "the pause before the removal";
    EXPECT_TRUE(seen("Removing : 12% Completed.")) << "1 of 8 is 12.5";
    EXPECT_TRUE(seen("Removing : 25% Completed."));
    EXPECT_TRUE(seen("Removing : 38% Completed.")) << "3 of 8 is 37.5";
    EXPECT_TRUE(seen("Removing : 100% Completed."));
    EXPECT_EQ(items.front(), "c:\\temp\\item1.dat");
    EXPECT_EQ(Control("pgbDeleteSpywaresFound").Value(), Control("pgbDeleteSpywaresFound").Max());
    EXPECT_EQ(Control("pgbDeleteSpywaresFound").Max(), 8);
}

} // namespace
} // namespace grimsweep

namespace grimsweep {
namespace {

TEST_F(RemovalTest, RemovedItemsComeBackThroughTheQuarantineMenu) {
    PlantFile("C:\\Program Files\\Gloom\\gloom.exe", "MZ gloom", "Gloom");
    PlantValue("Software\\Microsoft\\Windows\\CurrentVersion\\Run", "GloomUpdate", "Gloom run");
    TickAll();
    PressDelete();
    ASSERT_FALSE(sim.files.Exists("C:\\Program Files\\Gloom\\gloom.exe"));
    sim.files.DeleteFolder("C:\\Program Files\\Gloom"); // the restore makes it again

    std::vector<std::string> listed;
    host->onModal = [&](ui::Form& form) {
        ASSERT_EQ(form.Name(), "frmRestore");
        ui::Control& list = form.Get("lvwQuarantine");
        for (std::size_t i = 0; i < list.Rows().size(); ++i) {
            listed.push_back(list.Rows()[i].text);
            list.SetRowChecked(i, true);
        }
        form.Get("cmdRestore").Click();
        form.Get("cmdClose").Click();
    };
    Control("mnuRestoreQuarantine").Click();
    host->onModal = nullptr;

    EXPECT_EQ(listed.size(), 2u);
    EXPECT_EQ(sim.files.Contents("C:\\Program Files\\Gloom\\gloom.exe"), "MZ gloom");
    RegistryValue value;
    ASSERT_EQ(sim.registry.QueryValue(RegistryRoot::CurrentUser,
                                      "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "GloomUpdate",
                                      kKeyRead, value),
              kRegistryOk);
    EXPECT_EQ(value.text, "data of GloomUpdate");
    EXPECT_EQ(Occurrences(Log(), " - Restored: "), 2);
    for (const QuarantineItem& item : ReadQuarantineIndex(*context)) {
        EXPECT_TRUE(item.restored) << item.backupName;
    }
}

} // namespace
} // namespace grimsweep
