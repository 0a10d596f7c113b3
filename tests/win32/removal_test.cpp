// The removal on the real machine under Wine: planted files (one of them with a non-ASCII name), a folder
// tree with read-only files, a cookie, registry values and a key with sub-keys go into the quarantine; a
// file another program holds open lands in the problem list; the log is written in the system code page.
#include <gtest/gtest.h>

#include "win32/helper_programs.h"
#include "win32/temp_folder.h"

#include "app/main_window_controls.h"
#include "core/busy_state.h"
#include "core/context.h"
#include "platform/win32/win32_machine.h"
#include "removal/quarantine_index.h"
#include "removal/quarantine_log.h"
#include "removal/registry_backup.h"
#include "removal/removal_engine.h"
#include "scan/scan_lists.h"
#include "shell/skin.h"
#include "ui/headless_host.h"
#include "ui/list_icons.h"

namespace grimsweep::win32 {
namespace {

const std::string kKey = "Software\\Lanternfish Software Tests\\Removal";

class RemovalTest : public TempFolderTest {
protected:
    RemovalTest()
        : TempFolderTest("grimsweep-removal-test"), context(machine.View(), host), window(host, "FrmMain") {
        BuildMainWindowControls(window);
        lists = std::make_unique<ScanLists>(window);
        removal = std::make_unique<RemovalEngine>(context, window, *lists, busy, skin);
    }
    void SetUp() override {
        TempFolderTest::SetUp();
        context.dataFolder = folder + "\\data";
        ASSERT_TRUE(files.CreateFolder(context.dataFolder));
        context.messages.RegisterDefaults();
        machine.registry.DeleteKeyTree(RegistryRoot::CurrentUser, kKey);
    }
    void TearDown() override {
        machine.registry.DeleteKeyTree(RegistryRoot::CurrentUser, kKey);
        // Read-only entries left by a failed run would keep the folder.
        TempFolderTest::TearDown();
    }

    void File(const std::string& path, const std::string& bytes, const std::string& threat) {
        ASSERT_TRUE(files.WriteFile(path, bytes)) << path;
        lists->AddRemovalRow(threat, ui::kIconFile, path, "");
        lists->AddFileRow(path, threat);
    }
    void Registry(const std::string& key, const std::string& value, const std::string& threat) {
        lists->AddRemovalRow(threat, ui::kIconRegistry, "HKEY_CURRENT_USER\\" + key, "");
        lists->AddRegistryRow(RegistryRoot::CurrentUser, key, value, threat);
    }
    void RemoveEverything() {
        for (std::size_t i = 0; i < lists->Removal().Rows().size(); ++i) {
            lists->Removal().SetRowChecked(i, true);
        }
        for (ui::Control* list : {&lists->Files(), &lists->Registry(), &lists->Cookies()}) {
            for (std::size_t i = 0; i < list->Rows().size(); ++i) {
                list->SetRowChecked(i, true);
            }
        }
        host.Answer(MessageBoxAnswer::Yes);
        removal->ConfirmAndRemove();
    }
    std::string Quarantined(const std::string& name) { return context.DataFile("quarantine\\" + name); }

    Win32Machine machine;
    HeadlessHost host;
    Context context;
    ui::Form window;
    std::unique_ptr<ScanLists> lists;
    BusyState busy;
    Skin skin;
    std::unique_ptr<RemovalEngine> removal;
};

TEST_F(RemovalTest, PlantedItemsGoIntoTheQuarantineAndAHeldFileStays) {
    const std::string evil = folder + "\\evil";
    const std::string nest = folder + "\\Nest";
    ASSERT_TRUE(files.CreateFolder(evil));
    ASSERT_TRUE(files.CreateFolder(folder + "\\other"));
    ASSERT_TRUE(files.CreateFolder(nest));
    ASSERT_TRUE(files.CreateFolder(nest + "\\deep"));
    File(evil + "\\tool.exe", std::string("MZ\0tool one", 11), "Tool one");
    File(folder + "\\other\\tool.exe", "MZ tool two", "Tool two");
    File(evil + "\\caf\xC3\xA9.ini", "[caf\xC3\xA9]", "Cafe");
    ASSERT_TRUE(files.WriteFile(nest + "\\deep\\ro.txt", "read-only inside"));
    ASSERT_TRUE(files.SetAttributes(nest + "\\deep\\ro.txt", kAttrReadOnly));
    ASSERT_TRUE(files.WriteFile(nest + "\\top.bin", std::string(70000, 'x')));
    lists->AddRemovalRow("Nest", ui::kIconFolder, nest, "");
    lists->AddFileRow(nest, "Nest");
    const std::string cookie = folder + "\\tester@ads[1].txt";
    ASSERT_TRUE(files.WriteFile(cookie, "id\n42\nads.example\n"));
    lists->AddRemovalRow("Cookie: ads", ui::kIconCookie, cookie, "");
    lists->AddCookieRow(cookie);
    const std::string held = folder + "\\held.dll";
    File(held, "MZ held", "Held");

    IRegistry& registry = machine.registry;
    ASSERT_EQ(registry.CreateKey(RegistryRoot::CurrentUser, kKey + "\\Run"), kRegistryOk);
    ASSERT_EQ(registry.SetValue(RegistryRoot::CurrentUser, kKey + "\\Run", "Gloom",
                                RegistryValue::String("C:\\gloom.exe")),
              kRegistryOk);
    ASSERT_EQ(
        registry.SetValue(RegistryRoot::CurrentUser, kKey + "\\Run", "Keep", RegistryValue::String("x")),
        kRegistryOk);
    ASSERT_EQ(registry.CreateKey(RegistryRoot::CurrentUser, kKey + "\\Pebble\\Sub"), kRegistryOk);
    ASSERT_EQ(
        registry.SetValue(RegistryRoot::CurrentUser, kKey + "\\Pebble", "", RegistryValue::String("default")),
        kRegistryOk);
    ASSERT_EQ(
        registry.SetValue(RegistryRoot::CurrentUser, kKey + "\\Pebble\\Sub", "n", RegistryValue::Dword(7)),
        kRegistryOk);
    Registry(kKey + "\\Run", "Gloom", "Gloom run");
    Registry(kKey + "\\Pebble", "", "Pebble");

    HelperProcess holder("\"" + BesideTestProgram(GRIMSWEEP_FILE_HOLDER_NAME) + "\" \"" + held + "\"");
    ASSERT_TRUE(WaitUntilHeld(holder, held));
    const std::string before = machine.system.FormatDateTimeForDisplay(machine.system.Now());
    RemoveEverything();
    const std::string after = machine.system.FormatDateTimeForDisplay(machine.system.Now());
    holder.Stop();

    for (const std::string& gone :
         {evil + "\\tool.exe", folder + "\\other\\tool.exe", evil + "\\caf\xC3\xA9.ini", nest, cookie}) {
        EXPECT_FALSE(files.GetAttributes(gone).has_value()) << gone;
    }
    EXPECT_EQ(files.ReadFile(Quarantined("tool.exe")).value_or(""), std::string("MZ\0tool one", 11));
    EXPECT_EQ(files.ReadFile(Quarantined("tool (2).exe")).value_or(""), "MZ tool two");
    EXPECT_EQ(files.ReadFile(Quarantined("caf\xC3\xA9.ini")).value_or(""), "[caf\xC3\xA9]");
    EXPECT_EQ(files.ReadFile(Quarantined("Nest\\deep\\ro.txt")).value_or(""), "read-only inside");
    EXPECT_EQ(files.ReadFile(Quarantined("Nest\\top.bin")).value_or("").size(), 70000u);
    EXPECT_EQ(files.ReadFile(Quarantined("tester@ads[1].txt")).value_or(""), "id\n42\nads.example\n");
    EXPECT_EQ(removal->Problems().Entries(), (std::vector<std::string>{held}));
    EXPECT_EQ(files.ReadFile(held).value_or(""), "MZ held");

    RegistryValue value;
    EXPECT_EQ(registry.QueryValue(RegistryRoot::CurrentUser, kKey + "\\Run", "Gloom", kKeyRead, value),
              kRegistryNotFound);
    EXPECT_EQ(registry.QueryValue(RegistryRoot::CurrentUser, kKey + "\\Run", "Keep", kKeyRead, value),
              kRegistryOk);
    EXPECT_EQ(registry.OpenKey(RegistryRoot::CurrentUser, kKey + "\\Pebble", kKeyRead), kRegistryNotFound);

    // The log in the system code page, each record four lines with CR LF.
    std::string log = files.ReadFile(QuarantineLogPath(context)).value_or("");
    for (const std::string& stamp : {before, after}) {
        for (std::size_t at = log.find(stamp + " - "); at != std::string::npos;
             at = log.find(stamp + " - ")) {
            log.replace(at, stamp.size(), "T");
        }
    }
    const std::string hive = "HKEY_CURRENT_USER\\" + kKey;
    const std::string cafe = machine.system.Utf8ToCodePage("caf\xC3\xA9");
    EXPECT_EQ(cafe.size(), 4u) << "one byte a character in the code page";
    EXPECT_EQ(log, "T - File: tool.exe\r\n - Location: " + evil + "\\tool.exe\r\n\r\n\r\n" +
                       "T - File: tool (2).exe\r\n - Location: " + folder + "\\other\\tool.exe\r\n\r\n\r\n" +
                       "T - File: " + cafe + ".ini\r\n - Location: " + evil + "\\" + cafe +
                       ".ini\r\n\r\n\r\n" + "T - Key: " + hive + "\\Run\r\nValue: Gloom\r\n\r\n\r\n" +
                       "T - Key: " + hive + "\\Pebble\r\nValue: \r\n\r\n\r\n" + "T - Key: -2147483647\\" +
                       kKey + "\\Pebble\r\nValue: All Values\r\n\r\n\r\n" +
                       "T - File: tester@ads[1].txt\r\n - Location: " + cookie + "\r\n\r\n\r\n");

    // The registry backups put the entries back with their types and data.
    for (const QuarantineItem& item : ReadQuarantineIndex(context)) {
        if (item.kind == QuarantineKind::Key || item.kind == QuarantineKind::Value) {
            const auto text = files.ReadFile(Quarantined(item.backupName));
            ASSERT_TRUE(text.has_value()) << item.backupName;
            EXPECT_TRUE(ImportRegistryText(registry, machine.system, *text).Ok()) << item.backupName;
        }
    }
    ASSERT_EQ(registry.QueryValue(RegistryRoot::CurrentUser, kKey + "\\Run", "Gloom", kKeyRead, value),
              kRegistryOk);
    EXPECT_EQ(value.text, "C:\\gloom.exe");
    ASSERT_EQ(registry.QueryValue(RegistryRoot::CurrentUser, kKey + "\\Pebble\\Sub", "n", kKeyRead, value),
              kRegistryOk);
    EXPECT_EQ(value.type, RegistryValueType::Dword);
    EXPECT_EQ(value.number, 7u);
}

} // namespace
} // namespace grimsweep::win32
