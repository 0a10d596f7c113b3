// The registry deletes of the removal under Wine, and the .reg backups: exported from the real registry,
// imported back through the program and through the system's own regedit.
#include <gtest/gtest.h>

#include <map>
#include <tuple>
#include <utility>
#include <vector>

#include "common/utf16.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_system.h"
#include "platform/win32/windows_api.h"
#include "removal/registry_backup.h"
#include "temp_folder.h"

namespace grimsweep::win32 {
namespace {

const RegistryRoot kUser = RegistryRoot::CurrentUser;
const std::string kTestKey = "Software\\Lanternfish Removal Tests";
const std::string kSpyKey = kTestKey + "\\Spy";

// Type and data exactly as the system keeps them.
using RawValue = std::pair<DWORD, std::string>;

std::map<std::string, RawValue> RawValues(const std::string& path) {
    std::map<std::string, RawValue> values;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Widen(path).c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return values;
    }
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD nameLength = 256;
        DWORD type = 0;
        BYTE data[4096];
        DWORD size = sizeof data;
        if (RegEnumValueW(key, index, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS) {
            break;
        }
        values[Narrow(std::wstring_view(name, nameLength))] = {type, std::string(data, data + size)};
    }
    RegCloseKey(key);
    return values;
}

RegistryValue Raw(RegistryValueType type, std::string bytes) {
    RegistryValue value;
    value.type = type;
    value.bytes = std::move(bytes);
    return value;
}

class RegistryRemovalTest : public TempFolderTest {
protected:
    RegistryRemovalTest() : TempFolderTest("grimsweep-registry-removal") {}
    void SetUp() override {
        TempFolderTest::SetUp();
        registry.DeleteKeyTree(kUser, kTestKey);
    }
    void TearDown() override {
        registry.DeleteKeyTree(kUser, kTestKey);
        TempFolderTest::TearDown();
    }

    void Put(const std::string& path, const std::string& name, const RegistryValue& value) {
        ASSERT_EQ(registry.CreateKey(kUser, path), kRegistryOk);
        ASSERT_EQ(registry.SetValue(kUser, path, name, value), kRegistryOk);
    }

    // A key with a value of every type, and a sub-key of its own.
    void PutEveryType() {
        RegistryValue expandable = RegistryValue::String("%SystemRoot%\\caf\xC3\xA9.dll");
        expandable.type = RegistryValueType::ExpandString;
        Put(kSpyKey, "", RegistryValue::String("default"));
        Put(kSpyKey, "Text", RegistryValue::String("say \"hi\" C:\\caf\xC3\xA9"));
        Put(kSpyKey, "Lines", RegistryValue::String("one\r\ntwo"));
        Put(kSpyKey, "Number", RegistryValue::Dword(0xDEADBEEF));
        Put(kSpyKey, "Raw",
            Raw(RegistryValueType::Binary, std::string(100, '\x5A') + std::string("\0\xFF", 2)));
        Put(kSpyKey, "Path", expandable);
        Put(kSpyKey, "Multi",
            Raw(RegistryValueType::MultiString, *Utf8ToUtf16Le(std::string("one\0caf\xC3\xA9\0\0", 11))));
        Put(kSpyKey, "Quad",
            Raw(static_cast<RegistryValueType>(REG_QWORD), std::string("\x01\0\0\0\0\0\0\x80", 8)));
        Put(kSpyKey, "Nothing", Raw(RegistryValueType::None, ""));
        Put(kSpyKey, "caf\xC3\xA9 \"quoted\" \\", RegistryValue::Dword(7));
        Put(kSpyKey + "\\Sub\\Deep", "Inner", RegistryValue::String("inner"));
    }

    // Runs the system's regedit silently on the text and waits for it.
    void ImportWithRegedit(const std::string& text) {
        const std::string file = folder + "\\backup.reg";
        ASSERT_TRUE(files.WriteFile(file, text));
        wchar_t windows[MAX_PATH];
        ASSERT_GT(GetWindowsDirectoryW(windows, MAX_PATH), 0u);
        std::wstring command = L"\"" + std::wstring(windows) + L"\\regedit.exe\" /s \"" + Widen(file) + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION child{};
        ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                   &startup, &child));
        CloseHandle(child.hThread);
        EXPECT_EQ(WaitForSingleObject(child.hProcess, 60000), WAIT_OBJECT_0);
        CloseHandle(child.hProcess);
    }

    Win32Registry registry;
    Win32System system;
};

TEST_F(RegistryRemovalTest, DeletesNamedAndDefaultValues) {
    Put(kSpyKey, "Run", RegistryValue::String("spy.exe"));
    Put(kSpyKey, "", RegistryValue::String("default"));
    Put(kSpyKey, "Keep", RegistryValue::String("keep"));
    RegistryValue value;

    EXPECT_EQ(registry.DeleteValue(kUser, kSpyKey, "run"), kRegistryOk);
    EXPECT_EQ(registry.QueryValue(kUser, kSpyKey, "Run", kKeyRead, value), kRegistryNotFound);
    EXPECT_EQ(registry.DeleteValue(kUser, kSpyKey, ""), kRegistryOk);
    EXPECT_EQ(registry.QueryValue(kUser, kSpyKey, "", kKeyRead, value), kRegistryNotFound);
    EXPECT_EQ(registry.QueryValue(kUser, kSpyKey, "Keep", kKeyRead, value), kRegistryOk);

    EXPECT_EQ(registry.DeleteValue(kUser, kSpyKey, "Run"), kRegistryNotFound);
    EXPECT_EQ(registry.DeleteValue(kUser, kSpyKey, ""), kRegistryNotFound) << "no default value left";
    EXPECT_EQ(registry.DeleteValue(kUser, kTestKey + "\\Missing", "Run"), kRegistryNotFound);
}

TEST_F(RegistryRemovalTest, TreeDeleteTakesSubKeysAndValuesAndLeavesSiblings) {
    Put(kSpyKey, "Run", RegistryValue::String("spy.exe"));
    Put(kSpyKey + "\\A\\Deep", "x", RegistryValue::Dword(1));
    Put(kSpyKey + "\\B", "", RegistryValue::String("b"));
    Put(kTestKey + "\\Sibling", "Keep", RegistryValue::String("keep"));

    EXPECT_EQ(registry.DeleteKeyTree(kUser, kSpyKey), kRegistryOk);
    EXPECT_EQ(registry.OpenKey(kUser, kSpyKey, kKeyRead), kRegistryNotFound);
    RegistryValue value;
    EXPECT_EQ(registry.QueryValue(kUser, kTestKey + "\\Sibling", "Keep", kKeyRead, value), kRegistryOk);
    std::vector<std::string> names;
    ASSERT_EQ(registry.ListSubKeys(kUser, kTestKey, names), kRegistryOk);
    EXPECT_EQ(names, std::vector<std::string>{"Sibling"});

    EXPECT_EQ(registry.DeleteKeyTree(kUser, kSpyKey), kRegistryNotFound);
}

// Multi-strings come and go as the UTF-16LE data the system keeps, whoever wrote them; the simulated
// registry is filled the same way.
TEST_F(RegistryRemovalTest, MultiStringsTravelAsUtf16Data) {
    const std::string data = *Utf8ToUtf16Le(std::string("a\0\xC3\xA9\0\0", 6));
    Put(kSpyKey, "Multi", Raw(RegistryValueType::MultiString, data));
    EXPECT_EQ(RawValues(kSpyKey)["Multi"], RawValue(REG_MULTI_SZ, data));

    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, Widen(kSpyKey).c_str(), 0, KEY_SET_VALUE, &key),
              ERROR_SUCCESS);
    const wchar_t multi[] = L"one\0two\0";
    RegSetValueExW(key, L"Written", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(multi), sizeof multi);
    RegCloseKey(key);
    RegistryValue value;
    ASSERT_EQ(registry.QueryValue(kUser, kSpyKey, "Written", kKeyRead, value), kRegistryOk);
    EXPECT_EQ(Utf16LeToUtf8(value.bytes), std::string("one\0two\0\0", 9));
}

TEST_F(RegistryRemovalTest, ExportedKeyComesBackThroughTheProgram) {
    PutEveryType();
    const auto before = RawValues(kSpyKey);
    ASSERT_EQ(before.size(), 10u);
    const auto text = ExportRegistryEntry(registry, system, kUser, kSpyKey, std::nullopt);
    ASSERT_TRUE(text);
    ASSERT_EQ(registry.DeleteKeyTree(kUser, kSpyKey), kRegistryOk);

    const auto result = ImportRegistryText(registry, system, *text);
    EXPECT_TRUE(result.Ok());
    EXPECT_EQ(result.keysCreated, 3);
    EXPECT_EQ(RawValues(kSpyKey), before);
    EXPECT_EQ(RawValues(kSpyKey + "\\Sub\\Deep").size(), 1u);
}

TEST_F(RegistryRemovalTest, ExportedKeyComesBackThroughRegedit) {
    PutEveryType();
    const auto before = RawValues(kSpyKey);
    const auto keyText = ExportRegistryEntry(registry, system, kUser, kSpyKey, std::nullopt);
    ASSERT_TRUE(keyText);
    ASSERT_EQ(registry.DeleteKeyTree(kUser, kSpyKey), kRegistryOk);

    ImportWithRegedit(*keyText);

    const auto after = RawValues(kSpyKey);
    for (const auto& [name, value] : before) {
        const auto it = after.find(name);
        ASSERT_NE(it, after.end()) << name;
        EXPECT_EQ(it->second.first, value.first) << name;
        EXPECT_EQ(it->second.second, value.second) << name;
    }
    EXPECT_EQ(after.size(), before.size());
    EXPECT_EQ(RawValues(kSpyKey + "\\Sub\\Deep").size(), 1u);
}

TEST_F(RegistryRemovalTest, ExportedValueComesBackAlone) {
    PutEveryType();
    const auto before = RawValues(kSpyKey);
    for (const std::string name : {"", "Path", "Multi", "Lines"}) {
        const auto text = ExportRegistryEntry(registry, system, kUser, kSpyKey, name);
        ASSERT_TRUE(text) << name;
        ASSERT_EQ(registry.DeleteValue(kUser, kSpyKey, name), kRegistryOk);
        EXPECT_TRUE(ImportRegistryText(registry, system, *text).Ok()) << name;
        EXPECT_EQ(RawValues(kSpyKey), before) << name;
    }
    EXPECT_FALSE(ExportRegistryEntry(registry, system, kUser, kSpyKey, std::string("Missing")));
    EXPECT_FALSE(ExportRegistryEntry(registry, system, kUser, kTestKey + "\\Missing", std::nullopt));
}

// Values that REGEDIT4 cannot carry (a name outside the code page, an odd-length multi-string) go out as
// version 5.00 text, which the program puts back byte for byte.
TEST_F(RegistryRemovalTest, UnicodeBackupOfAValueComesBackByteForByte) {
    const std::string cyrillic = "\xD0\xA8\xD0\xBF\xD0\xB8\xD0\xBE\xD0\xBD \xE2\x98\x83"; // Шпион ☃
    RegistryValue expandable = RegistryValue::String("%TEMP%\\" + cyrillic + ".exe");
    expandable.type = RegistryValueType::ExpandString;
    Put(kSpyKey, cyrillic, expandable);
    Put(kSpyKey, "Odd", Raw(RegistryValueType::MultiString, std::string("a\0b", 3)));
    Put(kSpyKey, "Keep", RegistryValue::Dword(1));
    const auto before = RawValues(kSpyKey);
    ASSERT_EQ(before.size(), 3u);
    for (const auto& name : {cyrillic, std::string("Odd")}) {
        const auto text = ExportRegistryEntry(registry, system, kUser, kSpyKey, name);
        ASSERT_TRUE(text) << name;
        EXPECT_TRUE(text->starts_with("\xFF\xFE")) << name;

        ASSERT_EQ(registry.DeleteValue(kUser, kSpyKey, name), kRegistryOk);
        EXPECT_TRUE(ImportRegistryText(registry, system, *text, RegistryImportScope{kUser, kSpyKey}).Ok());
        EXPECT_EQ(RawValues(kSpyKey), before) << name;
    }

    // regedit reads the same text; Wine's shortens an odd-length multi-string, so only the name is tried.
    const auto text = ExportRegistryEntry(registry, system, kUser, kSpyKey, cyrillic);
    ASSERT_TRUE(text);
    ASSERT_EQ(registry.DeleteValue(kUser, kSpyKey, cyrillic), kRegistryOk);
    ImportWithRegedit(*text);
    EXPECT_EQ(RawValues(kSpyKey), before);
}

// String data that its text does not give back, written by another program: backed up as exactly that
// data, deleted and imported, and held again byte for byte.
TEST_F(RegistryRemovalTest, StringDataBeyondItsTextComesBackByteForByte) {
    const std::vector<std::tuple<std::string, DWORD, std::string>> cases = {
        {"InnerNul", REG_SZ, std::string("a\0\0\0b\0\0\0", 8)},
        {"OddUnended", REG_SZ, std::string("o\0d\0d", 5)},
        {"Unended", REG_EXPAND_SZ, std::string("%\0T\0", 4)},
    };
    ASSERT_EQ(registry.CreateKey(kUser, kSpyKey), kRegistryOk);
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, Widen(kSpyKey).c_str(), 0, KEY_SET_VALUE, &key),
              ERROR_SUCCESS);
    for (const auto& [name, type, data] : cases) {
        // A unit that is no NUL after the data, or the system adds a terminator of its own.
        const std::string buffer = data + "\xFF\xFF";
        RegSetValueExW(key, Widen(name).c_str(), 0, type, reinterpret_cast<const BYTE*>(buffer.data()),
                       static_cast<DWORD>(data.size()));
    }
    RegCloseKey(key);
    const auto before = RawValues(kSpyKey);
    for (const auto& [name, type, data] : cases) {
        ASSERT_EQ(before.at(name), RawValue(type, data)) << name;
        const auto text = ExportRegistryEntry(registry, system, kUser, kSpyKey, name);
        ASSERT_TRUE(text) << name;
        ASSERT_EQ(registry.DeleteValue(kUser, kSpyKey, name), kRegistryOk);
        EXPECT_TRUE(ImportRegistryText(registry, system, *text).Ok()) << name;
        EXPECT_EQ(RawValues(kSpyKey), before) << name;
    }
}

} // namespace
} // namespace grimsweep::win32
