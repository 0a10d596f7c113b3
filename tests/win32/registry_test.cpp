// The real registry under Wine: round trips in HKCU and HKLM, and the settings stores on top of it.
#include "platform/win32/win32_registry.h"

#include <gtest/gtest.h>

#include "core/machine_settings.h"
#include "core/run_at_startup.h"
#include "core/settings_store.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"
#include "ui/headless_host.h"

namespace grimsweep::win32 {
namespace {

const std::string kTestKey = "Software\\Lanternfish Software Tests";

class RegistryTest : public ::testing::Test {
protected:
    void TearDown() override {
        registry.DeleteKeyTree(RegistryRoot::CurrentUser, kTestKey);
        registry.DeleteKeyTree(RegistryRoot::LocalMachine, kTestKey);
    }
    Win32Registry registry;
};

TEST_F(RegistryTest, ValuesRoundTripInBothHives) {
    for (auto root : {RegistryRoot::CurrentUser, RegistryRoot::LocalMachine}) {
        const std::string path = kTestKey + "\\Round\\Trip";
        EXPECT_EQ(registry.OpenKey(root, path, kKeyRead), kRegistryNotFound);
        ASSERT_EQ(registry.CreateKey(root, path), kRegistryOk);
        ASSERT_EQ(registry.SetValue(root, path, "Text", RegistryValue::String("caf\xC3\xA9 \xE2\x82\xAC")),
                  kRegistryOk);
        ASSERT_EQ(registry.SetValue(root, path, "Number", RegistryValue::Dword(0xDEADBEEF)), kRegistryOk);
        RegistryValue raw;
        raw.type = RegistryValueType::Binary;
        raw.bytes = std::string("\x01\x00\x02", 3);
        ASSERT_EQ(registry.SetValue(root, path, "Raw", raw), kRegistryOk);

        RegistryValue value;
        ASSERT_EQ(registry.QueryValue(root, path, "text", kKeyFullAccess, value), kRegistryOk);
        EXPECT_EQ(value.type, RegistryValueType::String);
        EXPECT_EQ(value.text, "caf\xC3\xA9 \xE2\x82\xAC");
        EXPECT_FALSE(value.rawString) << "a terminated text is read as text alone";
        EXPECT_EQ(value.bytes, "");
        ASSERT_EQ(registry.QueryValue(root, path, "Number", kKeyRead, value), kRegistryOk);
        EXPECT_EQ(value.number, 0xDEADBEEFu);
        ASSERT_EQ(registry.QueryValue(root, path, "Raw", kKeyRead, value), kRegistryOk);
        EXPECT_EQ(value.bytes, std::string("\x01\x00\x02", 3));
        EXPECT_EQ(registry.QueryValue(root, path, "Missing", kKeyRead, value), kRegistryNotFound);

        std::vector<std::string> names;
        EXPECT_EQ(registry.ListValueNames(root, path, names), kRegistryOk);
        EXPECT_EQ(names.size(), 3u);
        EXPECT_EQ(registry.ListSubKeys(root, kTestKey + "\\Round", names), kRegistryOk);
        EXPECT_EQ(names, std::vector<std::string>{"Trip"});

        EXPECT_EQ(registry.DeleteValue(root, path, "Number"), kRegistryOk);
        EXPECT_EQ(registry.QueryValue(root, path, "Number", kKeyRead, value), kRegistryNotFound);
        EXPECT_EQ(registry.DeleteKeyTree(root, kTestKey + "\\Round"), kRegistryOk);
        EXPECT_EQ(registry.OpenKey(root, path, kKeyRead), kRegistryNotFound);
    }
}

// Key and value names of other scripts compare without regard to case; the simulated registry does
// the same.
TEST_F(RegistryTest, NonAsciiNamesCompareWithoutCase) {
    const std::string path = kTestKey + "\\\xC3\x84rger";                     // Ärger
    const std::string valueName = "\xCE\xA3\xCE\xA4\xCE\x91\xCE\xA1\xCE\xA4"; // ΣΤΑΡΤ
    ASSERT_EQ(registry.CreateKey(RegistryRoot::CurrentUser, path), kRegistryOk);
    ASSERT_EQ(registry.SetValue(RegistryRoot::CurrentUser, path, valueName, RegistryValue::String("x")),
              kRegistryOk);
    RegistryValue value;
    EXPECT_EQ(registry.QueryValue(RegistryRoot::CurrentUser, kTestKey + "\\\xC3\xA4RGER",
                                  "\xCF\x83\xCF\x84\xCE\xB1\xCF\x81\xCF\x84", kKeyRead, value),
              kRegistryOk);
    EXPECT_EQ(value.text, "x");
    EXPECT_EQ(registry.OpenKey(RegistryRoot::CurrentUser, kTestKey + "\\Arger", kKeyRead), kRegistryNotFound);
    std::vector<std::string> names;
    ASSERT_EQ(registry.ListSubKeys(RegistryRoot::CurrentUser, kTestKey, names), kRegistryOk);
    EXPECT_EQ(names, std::vector<std::string>{"\xC3\x84rger"});
}

// Values written by other programs: an expandable string comes back as stored, a string stored without
// its terminating NUL whole, and a multi-string with its type and raw data.
TEST_F(RegistryTest, TextValuesAreReadWhateverTheirWriterStored) {
    const auto root = RegistryRoot::CurrentUser;
    ASSERT_EQ(registry.CreateKey(root, kTestKey), kRegistryOk);
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, Widen(kTestKey).c_str(), 0, KEY_SET_VALUE, &key),
              ERROR_SUCCESS);
    const std::wstring expandable = L"%SystemRoot%\\evil.dll";
    const std::wstring unterminated = L"abcdef";
    const wchar_t multi[] = L"one\0two\0";
    RegSetValueExW(key, L"Expand", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(expandable.c_str()),
                   static_cast<DWORD>((expandable.size() + 1) * sizeof(wchar_t)));
    RegSetValueExW(key, L"Bare", 0, REG_SZ, reinterpret_cast<const BYTE*>(unterminated.c_str()),
                   static_cast<DWORD>(unterminated.size() * sizeof(wchar_t)));
    RegSetValueExW(key, L"Multi", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(multi), sizeof multi);
    RegCloseKey(key);

    RegistryValue value;
    ASSERT_EQ(registry.QueryValue(root, kTestKey, "expand", kKeyFullAccess, value), kRegistryOk);
    EXPECT_EQ(value.type, RegistryValueType::ExpandString);
    EXPECT_EQ(value.text, "%SystemRoot%\\evil.dll");
    ASSERT_EQ(registry.QueryValue(root, kTestKey, "Bare", kKeyFullAccess, value), kRegistryOk);
    EXPECT_EQ(value.type, RegistryValueType::String);
    EXPECT_EQ(value.text, "abcdef");
    ASSERT_EQ(registry.QueryValue(root, kTestKey, "Multi", kKeyFullAccess, value), kRegistryOk);
    EXPECT_EQ(value.type, RegistryValueType::MultiString);
    EXPECT_EQ(value.bytes.size(), sizeof multi);
}

TEST_F(RegistryTest, SettingsStoresUseTheRealRegistry) {
    SettingsStore store(registry, "Lanternfish Software Tests", "Grimsweep");
    EXPECT_EQ(store.Read("Settings", "Language", "English"), "English");
    store.Write("Settings", "Language", "Deutsch");
    EXPECT_EQ(store.Read("Settings", "Language", "English"), "Deutsch");

    HeadlessHost host;
    MachineSettings machine(registry, "Lanternfish Software Tests", store, host);
    EXPECT_EQ(machine.ReadMachineSetting("Grimsweep", "Settings", "FirstTime", ""), "");
    machine.WriteMachineSetting("Grimsweep", "Settings", "FirstTime", "Yes");
    EXPECT_EQ(machine.ReadMachineSetting("Grimsweep", "Settings", "FirstTime", ""), "Yes");
    RegistryValue value;
    EXPECT_EQ(registry.QueryValue(RegistryRoot::LocalMachine, kTestKey + "\\Grimsweep\\Settings", "FirstTime",
                                  kKeyRead, value),
              kRegistryOk);
    EXPECT_TRUE(host.Shown().empty());
}

TEST_F(RegistryTest, RunKeyValueIsWrittenAndRemoved) {
    const std::string exe = "C:\\Program Files\\GrimsweepTest\\grimsweeptest.exe";
    WriteRunAtStartup(registry, exe);
    RegistryValue value;
    ASSERT_EQ(registry.QueryValue(RegistryRoot::LocalMachine, std::string(kRunKeyPath), "grimsweeptest",
                                  kKeyRead, value),
              kRegistryOk);
    EXPECT_EQ(value.text, "\"C:\\Program Files\\GrimsweepTest\\grimsweeptest\"");
    RemoveRunAtStartup(registry, exe);
    EXPECT_EQ(registry.QueryValue(RegistryRoot::LocalMachine, std::string(kRunKeyPath), "grimsweeptest",
                                  kKeyRead, value),
              kRegistryNotFound);
}

} // namespace
} // namespace grimsweep::win32
