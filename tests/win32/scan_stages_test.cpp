// The registry, file and folder stages on the real machine under Wine: keys and values of every type,
// plain, hidden and system files, a Microsoft program file and folders planted in the prefix, scanned
// from definition files in a throwaway data folder.
#include <gtest/gtest.h>

#include "win32/temp_folder.h"

#include "core/context.h"
#include "definitions/definition_files.h"
#include "definitions/definition_state.h"
#include "definitions/line_code.h"
#include "platform/text_files.h"
#include "platform/win32/win32_machine.h"
#include "scan/file_scan.h"
#include "scan/recording_feedback.h"
#include "scan/registry_scan.h"
#include "scan/version_resource_bytes.h"
#include "ui/headless_host.h"
#include "ui/list_icons.h"

namespace grimsweep::win32 {
namespace {

const std::string kScanKey = "Software\\Lanternfish Software Tests\\Scan";

std::vector<std::string> Texts(const ui::Control& list) {
    std::vector<std::string> texts;
    for (const auto& row : list.Rows()) {
        texts.push_back(row.text);
    }
    return texts;
}

class ScanStagesTest : public TempFolderTest {
protected:
    ScanStagesTest()
        : TempFolderTest("grimsweep-scan-test"), context(machine.View(), host),
          listsForm((AddScanLists(listsFormStore), listsFormStore)), lists(listsForm),
          macros(PathMacroTable::Capture(machine.shell)), run{context, definitions, macros, state,
                                                              lists,   feedback,    {}} {}

    void SetUp() override {
        TempFolderTest::SetUp();
        context.dataFolder = folder;
    }
    void TearDown() override {
        machine.registry.DeleteKeyTree(RegistryRoot::CurrentUser, kScanKey);
        TempFolderTest::TearDown();
    }

    void PutDefinitions(std::string_view name, const std::vector<std::string>& plainLines) {
        std::string bytes;
        for (const auto& line : plainLines) {
            bytes += EncodeDefinitionLine(line) + std::string(kCrLf);
        }
        ASSERT_TRUE(files.WriteFile(context.DataFile(name), bytes));
    }
    void PutFile(const std::string& path, const std::string& bytes, std::uint32_t attributes = 0) {
        ASSERT_TRUE(files.WriteFile(path, bytes));
        if (attributes) {
            ASSERT_TRUE(files.SetAttributes(path, attributes));
        }
    }

    Win32Machine machine;
    HeadlessHost host;
    Context context;
    DefinitionState definitions;
    ui::Form listsFormStore{host, "frmLists"};
    ui::Form& listsForm;
    ScanLists lists;
    PathMacroTable macros;
    ScanState state;
    RecordingFeedback feedback;
    ScanRun run;
};

TEST_F(ScanStagesTest, RegistryKeysAndValuesOfEveryType) {
    auto& registry = machine.registry;
    const auto root = RegistryRoot::CurrentUser;
    ASSERT_EQ(registry.CreateKey(root, kScanKey + "\\Values"), kRegistryOk);
    ASSERT_EQ(registry.CreateKey(root, kScanKey + "\\Bare"), kRegistryOk);
    RegistryValue expandable = RegistryValue::String("%SystemRoot%\\evil.dll");
    expandable.type = RegistryValueType::ExpandString;
    RegistryValue binary;
    binary.type = RegistryValueType::Binary;
    binary.bytes = std::string("\x01\x00\x02", 3);
    const std::string values = kScanKey + "\\Values";
    ASSERT_EQ(registry.SetValue(root, values, "Text", RegistryValue::String("evil.exe")), kRegistryOk);
    ASSERT_EQ(registry.SetValue(root, values, "Expand", expandable), kRegistryOk);
    ASSERT_EQ(registry.SetValue(root, values, "Number", RegistryValue::Dword(1)), kRegistryOk);
    ASSERT_EQ(registry.SetValue(root, values, "Raw", binary), kRegistryOk);

    RegistryValue out;
    ASSERT_EQ(QueryRegistryValue(registry, root, values, "EXPAND", out), kRegistryOk);
    EXPECT_EQ(out.type, RegistryValueType::ExpandString);
    EXPECT_EQ(out.text, "%SystemRoot%\\evil.dll");
    EXPECT_EQ(QueryRegistryValue(registry, root, values, "Raw", out), kRegistryUnreadType);
    EXPECT_TRUE(RegistryKeyPresent(registry, root, kScanKey + "\\bare"));
    EXPECT_FALSE(RegistryKeyPresent(registry, root, kScanKey + "\\Missing"));

    const std::string keyPrefix = "1^" + kScanKey;
    definitions.safeList.Assign({"HKEY_CURRENT_USER\\" + values + "Number"});
    definitions.exclusions.Assign("HKEY_CURRENT_USER\\" + values + "Expand|");
    PutDefinitions(kRegistryDefinitionFile,
                   {keyPrefix + "\\Values^Text^=Evil|Hijacker", keyPrefix + "\\Values^Expand^=Evil",
                    keyPrefix + "\\Values^Number^=Evil", keyPrefix + "\\Values^Raw^=Raw",
                    keyPrefix + "\\Values^Missing^=Gone",
                    keyPrefix + "\\Bare^^=", keyPrefix + "\\Missing^^=Gone"});
    ScanRegistry(run);

    EXPECT_EQ(Texts(lists.Found()), (std::vector<std::string>{
                                        "Evil - Found",
                                        "EXCLUDED: HKEY_CURRENT_USER\\" + values + "Expand",
                                        "RegKey " + kScanKey + "\\Bare - Found",
                                    }));
    ASSERT_EQ(lists.Removal().Rows().size(), 2u);
    EXPECT_EQ(lists.Removal().Rows()[0].subItems,
              (std::vector<std::string>{"HKEY_CURRENT_USER\\" + values + "Text", "Hijacker"}));
    EXPECT_EQ(lists.Removal().Rows()[1].subItems,
              std::vector<std::string>{"HKEY_CURRENT_USER\\" + kScanKey + "\\Bare"});
    EXPECT_EQ(lists.Registry().Rows().size(), 2u);
    EXPECT_EQ(state.counters.registryEntries, 7);
    EXPECT_EQ(state.counters.threatsFound, 2);
}

TEST_F(ScanStagesTest, FilesAndFoldersOnDisk) {
    const std::string programs = folder + "\\Programs";
    ASSERT_TRUE(files.CreateFolder(programs));
    ASSERT_TRUE(files.CreateFolder(programs + "\\EvilFolder"));
    ASSERT_TRUE(files.CreateFolder(programs + "\\KeptFolder"));
    PutFile(programs + "\\evil.exe", version_bytes::WideResource("Evil Inc"));
    PutFile(programs + "\\helper.dll", "plain bytes");
    PutFile(programs + "\\hidden.exe", "x", kAttrHidden);
    PutFile(programs + "\\system.exe", "x", kAttrSystem);
    PutFile(programs + "\\msvcrt.dll", version_bytes::WideResource("Microsoft Corporation"));
    PutFile(programs + "\\msexcluded.dll", version_bytes::WideResource("Microsoft Corporation"));
    definitions.exclusions.Assign(programs + "\\MSEXCLUDED.DLL|" + programs + "\\KeptFolder\\tool.exe|");

    const std::string at = "|" + programs;
    PutDefinitions(kFileDefinitionFile,
                   {"evil.exe=Evil" + at + "|Adware", "helper.dll=Evil" + at, "hidden.exe=Hidden" + at,
                    "system.exe=System" + at, "msvcrt.dll=Ms" + at, "msexcluded.dll=Ms" + at,
                    "absent.exe=Absent" + at});
    PutDefinitions(kDirectoryDefinitionFile,
                   {"Evil folder=Evil Folder|" + programs + "\\\\EvilFolder|Toolbar",
                    "Kept=Kept|" + programs + "\\KeptFolder", "Gone=Gone|" + programs + "\\NoFolder"});
    ScanFiles(run);
    ScanFolders(run);

    EXPECT_EQ(Texts(lists.Found()), (std::vector<std::string>{
                                        "Evil - Found",
                                        "EXCLUDED: " + programs + "\\msexcluded.dll",
                                        "Evil Folder - Found",
                                        "EXCLUDED: " + programs + "\\KeptFolder",
                                    }));
    EXPECT_EQ(Texts(lists.Files()),
              (std::vector<std::string>{programs + "\\evil.exe", programs + "\\helper.dll",
                                        programs + "\\EvilFolder"}));
    ASSERT_EQ(lists.Removal().Rows().size(), 2u);
    EXPECT_EQ(lists.Removal().Rows()[0].subItems,
              (std::vector<std::string>{programs + "\\evil.exe", "Adware"}));
    EXPECT_EQ(lists.Removal().Rows()[1].smallIcon, ui::kIconFolder);
    EXPECT_EQ(lists.Removal().Rows()[1].subItems,
              (std::vector<std::string>{programs + "\\EvilFolder", "Toolbar"}));
    EXPECT_EQ(state.counters.filesAndFolders, 10);
    EXPECT_EQ(state.counters.traces, 3);
    EXPECT_EQ(state.counters.threatsFound, 2);
}

} // namespace
} // namespace grimsweep::win32
