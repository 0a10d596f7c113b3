#include "removal/registry_backup.h"

#include <gtest/gtest.h>

#include <tuple>

#include "common/text.h"
#include "common/utf16.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_system.h"

namespace grimsweep {
namespace {

const RegistryRoot kUser = RegistryRoot::CurrentUser;
const std::string kKey = "Software\\Spy";

RegistryValue Raw(RegistryValueType type, std::string bytes) {
    RegistryValue value;
    value.type = type;
    value.bytes = std::move(bytes);
    return value;
}

RegistryValue Expandable(std::string text) {
    RegistryValue value = RegistryValue::String(std::move(text));
    value.type = RegistryValueType::ExpandString;
    return value;
}

// UTF-16LE of a UTF-8 text with NULs in it, as the system keeps multi-strings.
std::string Wide(std::string_view text) {
    return *Utf8ToUtf16Le(text);
}

void ExpectSameValue(const RegistryValue& actual, const RegistryValue& expected, const std::string& name) {
    EXPECT_EQ(actual.type, expected.type) << name;
    EXPECT_EQ(actual.text, expected.text) << name;
    EXPECT_EQ(actual.number, expected.number) << name;
    EXPECT_EQ(actual.bytes, expected.bytes) << name;
}

class RegistryBackupTest : public ::testing::Test {
protected:
    void Put(const std::string& path, const std::string& name, const RegistryValue& value) {
        ASSERT_EQ(registry.CreateKey(kUser, path), kRegistryOk);
        ASSERT_EQ(registry.SetValue(kUser, path, name, value), kRegistryOk);
    }
    std::optional<std::string> Export(const std::string& path,
                                      std::optional<std::string> name = std::nullopt) {
        return ExportRegistryEntry(registry, system, kUser, path, name);
    }

    sim::SimRegistry registry;
    sim::SimSystem system;
};

TEST_F(RegistryBackupTest, ExportWritesEveryTypeAsRegeditDoes) {
    Put(kKey, "", RegistryValue::String("default"));
    Put(kKey, "Text", RegistryValue::String("say \"hi\" C:\\x \xC3\xA9"));
    Put(kKey, "Lines", RegistryValue::String("a\r\nb"));
    Put(kKey, "Number", RegistryValue::Dword(42));
    Put(kKey, "Raw", Raw(RegistryValueType::Binary, std::string("\x00\xff\x10", 3)));
    Put(kKey, "Path", Expandable("%A%\xC3\xA9"));
    Put(kKey, "Multi", Raw(RegistryValueType::MultiString, Wide(std::string("a\0\xC3\xA9\0\0", 6))));
    Put(kKey, "Quad", Raw(static_cast<RegistryValueType>(11), std::string("\x01\0\0\0\0\0\0\x80", 8)));
    Put(kKey, "Nothing", Raw(RegistryValueType::None, ""));
    Put(kKey + "\\Sub", "Deep", RegistryValue::Dword(0xDEADBEEF));

    // The simulated registry lists value names in case-folded order, sub-keys after the values.
    EXPECT_EQ(Export(kKey), "REGEDIT4\r\n\r\n"
                            "[HKEY_CURRENT_USER\\Software\\Spy]\r\n"
                            "@=\"default\"\r\n"
                            "\"Lines\"=hex(1):61,0d,0a,62,00\r\n"
                            "\"Multi\"=hex(7):61,00,e9,00,00\r\n"
                            "\"Nothing\"=hex(0):\r\n"
                            "\"Number\"=dword:0000002a\r\n"
                            "\"Path\"=hex(2):25,41,25,e9,00\r\n"
                            "\"Quad\"=hex(b):01,00,00,00,00,00,00,80\r\n"
                            "\"Raw\"=hex:00,ff,10\r\n"
                            "\"Text\"=\"say \\\"hi\\\" C:\\\\x \xE9\"\r\n"
                            "\r\n"
                            "[HKEY_CURRENT_USER\\Software\\Spy\\Sub]\r\n"
                            "\"Deep\"=dword:deadbeef\r\n"
                            "\r\n");

    EXPECT_EQ(Export(kKey, "Number"), "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Spy]\r\n"
                                      "\"Number\"=dword:0000002a\r\n\r\n");
    EXPECT_EQ(Export(kKey, ""),
              "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Spy]\r\n@=\"default\"\r\n\r\n");
}

TEST_F(RegistryBackupTest, LongHexDataWrapsWithTrailingBackslashes) {
    Put(kKey, "Blob", Raw(RegistryValueType::Binary, std::string(60, '\x11')));
    const auto text = Export(kKey, "Blob");
    ASSERT_TRUE(text);
    const auto bytes = [](int count) {
        std::string list;
        for (int k = 0; k < count; ++k) {
            list += "11,";
        }
        return list;
    };
    // The first line reaches column 77 after 22 bytes, the indented ones after 25; the last has no comma.
    EXPECT_EQ(Split(*text, "\r\n"),
              (std::vector<std::string>{"REGEDIT4", "", "[HKEY_CURRENT_USER\\Software\\Spy]",
                                        "\"Blob\"=hex:" + bytes(22) + "\\", "  " + bytes(25) + "\\",
                                        "  " + bytes(12) + "11", "", ""}));
}

TEST_F(RegistryBackupTest, KeyRoundTripsThroughDeleteAndImport) {
    const std::vector<std::pair<std::string, RegistryValue>> values = {
        {"", RegistryValue::String("default")},
        {"Text", RegistryValue::String("quote \" back \\ caf\xC3\xA9")},
        {"Lines", RegistryValue::String("one\ntwo\r\n")},
        {"Number", RegistryValue::Dword(0xFFFFFFFF)},
        {"Raw", Raw(RegistryValueType::Binary, std::string(200, '\xAB') + std::string("\0", 1))},
        {"Path", Expandable("%SystemRoot%\\evil.dll")},
        {"Multi", Raw(RegistryValueType::MultiString, Wide(std::string("one\0two\0\0", 9)))},
        {"Unended", Raw(RegistryValueType::MultiString, Wide("bare"))},
        {"Quad", Raw(static_cast<RegistryValueType>(11), std::string(8, '\x7F'))},
        {"Nothing", Raw(RegistryValueType::None, "")},
        {"name \"with\" \\ marks", RegistryValue::Dword(1)},
        {"\xC3\x84rger", RegistryValue::String("\xE2\x82\xAC")}, // Ärger, € (0x80 in the code page)
    };
    for (const auto& [name, value] : values) {
        Put(kKey, name, value);
    }
    Put(kKey + "\\Child\\Grandchild", "Deep", RegistryValue::String("x"));
    Put(kKey + "\\Empty", "", RegistryValue::String(""));

    const auto text = Export(kKey);
    ASSERT_TRUE(text);
    ASSERT_EQ(registry.DeleteKeyTree(kUser, kKey), kRegistryOk);
    const auto result = ImportRegistryText(registry, system, *text);
    EXPECT_TRUE(result.Ok());
    EXPECT_EQ(result.keysCreated, 4);
    EXPECT_EQ(result.valuesSet, static_cast<int>(values.size()) + 2);

    for (const auto& [name, value] : values) {
        const auto restored = registry.Value(kUser, kKey, name);
        ASSERT_TRUE(restored) << name;
        ExpectSameValue(*restored, value, name);
    }
    EXPECT_EQ(registry.Value(kUser, kKey + "\\Child\\Grandchild", "Deep")->text, "x");
    EXPECT_TRUE(registry.KeyExists(kUser, kKey + "\\Empty"));
    EXPECT_EQ(ExportRegistryEntry(registry, system, kUser, kKey, std::nullopt), text)
        << "a second export is the same";
}

TEST_F(RegistryBackupTest, ValueRoundTripRestoresOnlyThatValue) {
    Put(kKey, "Run", Expandable("%TEMP%\\spy.exe"));
    Put(kKey, "Keep", RegistryValue::String("keep"));
    const auto text = Export(kKey, "run");
    ASSERT_TRUE(text);
    EXPECT_EQ(text->find("Keep"), std::string::npos);
    ASSERT_EQ(registry.DeleteValue(kUser, kKey, "Run"), kRegistryOk);
    EXPECT_TRUE(ImportRegistryText(registry, system, *text).Ok());
    ExpectSameValue(*registry.Value(kUser, kKey, "Run"), Expandable("%TEMP%\\spy.exe"), "Run");
}

TEST_F(RegistryBackupTest, NothingWhenTheEntryIsMissingOrUnreadable) {
    Put(kKey, "Here", RegistryValue::Dword(1));
    EXPECT_FALSE(Export(kKey, "Missing"));
    EXPECT_FALSE(Export("Software\\Nowhere"));
    EXPECT_FALSE(Export("Software\\Nowhere", ""));
    EXPECT_FALSE(Export("")) << "a whole root is no entry";

    Put(kKey + "\\Locked", "Secret", RegistryValue::Dword(2));
    registry.DenyAccess(kUser, kKey + "\\Locked", kKeyQueryValue);
    EXPECT_FALSE(Export(kKey)) << "a sub-key that cannot be read makes the backup incomplete";
    EXPECT_TRUE(Export(kKey, "Here"));
    EXPECT_FALSE(ExportRegistryEntry(registry, system, RegistryRoot::PerformanceData, kKey, std::nullopt));
}

// Entries that REGEDIT4 cannot carry go out as version 5.00 text and come back byte for byte.
TEST_F(RegistryBackupTest, EntriesOutsideTheCodePageRoundTripAsUnicodeText) {
    const std::string cyrillic = "\xD0\xA8\xD0\xBF\xD0\xB8\xD0\xBE\xD0\xBD"; // Шпион
    const std::string unicode = "\xC3\x9Cn\xC3\xAF"
                                "c\xC3\xB8"
                                "d\xC3\xA9 \xE2\x98\x83"; // Ünïcødé ☃
    struct Entry {
        const char* what;
        std::string key;
        std::string name;
        RegistryValue value;
        bool wholeKey = false;
    };
    const std::vector<Entry> entries = {
        {"value name", kKey, cyrillic, RegistryValue::String("say \"" + cyrillic + "\" C:\\")},
        {"value name with a snowman", kKey, unicode, RegistryValue::Dword(7)},
        {"string with NULs", kKey, "Nul", RegistryValue::String(std::string("before\0after\0", 13))},
        {"string with a line break", kKey, "Lines", RegistryValue::String(cyrillic + "\r\n" + unicode)},
        {"odd-length multi-string", kKey, "Odd", Raw(RegistryValueType::MultiString, "abc")},
        {"multi-string with a lone surrogate", kKey, "Half",
         Raw(RegistryValueType::MultiString, std::string("\x00\xD8\x61\x00\x00\x00", 6))},
        {"long expandable string", kKey, "Path", Expandable("%TEMP%\\" + std::string(30, 'x') + cyrillic)},
        {"key name", "Software\\" + unicode + "\\" + cyrillic, "", RegistryValue::String(unicode), true},
    };
    const std::string header = "\xFF\xFE" + Wide("Windows Registry Editor Version 5.00\r\n\r\n");
    for (const auto& entry : entries) {
        Put(entry.key, entry.name, entry.value);
        const auto text = entry.wholeKey ? Export(entry.key) : Export(entry.key, entry.name);
        ASSERT_TRUE(text) << entry.what;
        EXPECT_TRUE(text->starts_with(header)) << entry.what;
        ASSERT_EQ(entry.wholeKey ? registry.DeleteKeyTree(kUser, entry.key)
                                 : registry.DeleteValue(kUser, entry.key, entry.name),
                  kRegistryOk);
        EXPECT_TRUE(ImportRegistryText(registry, system, *text).Ok()) << entry.what;
        const auto restored = registry.Value(kUser, entry.key, entry.name);
        ASSERT_TRUE(restored) << entry.what;
        ExpectSameValue(*restored, entry.value, entry.what);
    }

    Put(kKey, cyrillic, Expandable("%A%"));
    EXPECT_EQ(Export(kKey, cyrillic), header + Wide("[HKEY_CURRENT_USER\\Software\\Spy]\r\n\"" + cyrillic +
                                                    "\"=hex(2):25,00,41,00,25,00,00,00\r\n\r\n"));

    // No .reg line carries these names, in either format: the backup is refused and the entry stays.
    for (const auto& name : {std::string("Line\nBreak"), std::string("Car\rriage"), std::string("N\0L", 3)}) {
        Put(kKey, name, RegistryValue::Dword(1));
        EXPECT_FALSE(Export(kKey, name)) << name;
        EXPECT_TRUE(registry.Value(kUser, kKey, name)) << name;
    }
    EXPECT_FALSE(Export(kKey)) << "a key export leaves out none of its values";
}

// String data that its text does not give back reads as the text up to the first NUL plus the data, goes
// out as version 5.00 hex of exactly that data, and comes back unchanged.
TEST_F(RegistryBackupTest, StringDataBeyondItsTextRoundTripsAsStoredBytes) {
    RegistryValue odd = Raw(RegistryValueType::ExpandString, std::string("%\0A", 3));
    odd.rawString = true;
    const std::vector<std::tuple<RegistryValue, std::string, std::string>> cases = {
        {RegistryValue::String(std::string("ab\0c", 4)), "ab", "hex(1):61,00,62,00,00,00,63,00,00,00"},
        {odd, "%", "hex(2):25,00,41"},
    };
    for (const auto& [put, text, hex] : cases) {
        Put(kKey, "V", put);
        RegistryValue read;
        ASSERT_EQ(registry.QueryValue(kUser, kKey, "V", kKeyRead, read), kRegistryOk);
        EXPECT_EQ(read.text, text);
        EXPECT_TRUE(read.rawString) << hex;
        const auto backup = Export(kKey, "V");
        ASSERT_EQ(backup, "\xFF\xFE" + Wide("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\"
                                            "Software\\Spy]\r\n\"V\"=" +
                                            hex + "\r\n\r\n"));
        ASSERT_EQ(registry.DeleteValue(kUser, kKey, "V"), kRegistryOk);
        EXPECT_TRUE(ImportRegistryText(registry, system, *backup).Ok()) << hex;
        RegistryValue back;
        ASSERT_EQ(registry.QueryValue(kUser, kKey, "V", kKeyRead, back), kRegistryOk);
        ExpectSameValue(back, read, hex);
    }
}

TEST_F(RegistryBackupTest, ScopedImportWritesNothingWhenAKeyLiesOutside) {
    const RegistryImportScope scope{kUser, "Software\\Gloom"};
    const auto withSecondKey = [](const std::string& header) {
        return "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Gloom]\r\n\"A\"=dword:00000001\r\n\r\n" +
               header + "\r\n\"B\"=dword:00000002\r\n";
    };
    for (const std::string inside :
         {"[HKEY_CURRENT_USER\\SOFTWARE\\\\gloom\\Sub]", "[hkey_current_user\\Software\\Gloom\\]"}) {
        registry.DeleteKeyTree(kUser, "Software\\Gloom");
        const auto result = ImportRegistryText(registry, system, withSecondKey(inside), scope);
        EXPECT_TRUE(result.Ok()) << inside;
        EXPECT_EQ(result.valuesSet, 2) << inside;
    }
    ASSERT_EQ(registry.DeleteKeyTree(kUser, "Software\\Gloom"), kRegistryOk);
    for (const std::string outside :
         {"[HKEY_CURRENT_USER\\Software\\GloomX]", "[HKEY_CURRENT_USER\\Software]",
          "[HKEY_LOCAL_MACHINE\\Software\\Gloom]", "[HKEY_NOWHERE\\Software\\Gloom]",
          "[-HKEY_CURRENT_USER\\Software\\Other]", "[HKEY_CURRENT_USER\\Software\\Gloom"}) {
        const auto result = ImportRegistryText(registry, system, withSecondKey(outside), scope);
        EXPECT_TRUE(result.outsideScope) << outside;
        EXPECT_FALSE(result.Ok()) << outside;
        EXPECT_EQ(result.keysCreated + result.valuesSet, 0) << outside;
        EXPECT_FALSE(registry.KeyExists(kUser, "Software\\Gloom")) << outside;
    }
}

TEST_F(RegistryBackupTest, ImportTakesLfLineEndsContinuationsAndComments) {
    const std::string text = "REGEDIT4\n\n"
                             "; a comment\n"
                             "[hkey_current_user\\Software\\Spy]\n"
                             "\"Bin\"=hex:01,02,\\\n"
                             "  03 , 04\n"
                             "\"Num\" = dword:2a\n"
                             "@=\"\xE9\"\n";
    const auto result = ImportRegistryText(registry, system, text);
    EXPECT_TRUE(result.Ok());
    EXPECT_EQ(registry.Value(kUser, kKey, "Bin")->bytes, "\x01\x02\x03\x04");
    EXPECT_EQ(registry.Value(kUser, kKey, "Num")->number, 42u);
    EXPECT_EQ(registry.Value(kUser, kKey, "")->text, "\xC3\xA9");
}

TEST_F(RegistryBackupTest, ImportSkipsAndCountsBadLines) {
    const std::string text = "REGEDIT4\r\n\r\n"
                             "\"Early\"=\"before any key\"\r\n"
                             "[HKEY_NOWHERE\\Software\\Spy]\r\n"
                             "\"Lost\"=\"its key failed\"\r\n"
                             "[HKEY_CURRENT_USER\\Software\\Spy]\r\n"
                             "\"Good\"=\"yes\"\r\n"
                             "\"Open=\"no end\r\n"
                             "\"Trail\"=\"x\" junk\r\n"
                             "\"Word\"=dword:123456789\r\n"
                             "\"Hex\"=hex:1g\r\n"
                             "\"Type\"=hex(zz):00\r\n"
                             "\"Gone\"=-\r\n"
                             "[-HKEY_CURRENT_USER\\Software\\Other]\r\n"
                             "[HKEY_CURRENT_USER\\Software\\Unclosed\r\n"
                             "just words\r\n"
                             "\"Also\"=dword:00000001\r\n";
    const auto result = ImportRegistryText(registry, system, text);
    EXPECT_TRUE(result.formatKnown);
    EXPECT_FALSE(result.Ok());
    EXPECT_EQ(result.linesSkipped, 13);
    EXPECT_EQ(result.keysCreated, 1);
    EXPECT_EQ(result.valuesSet, 1) << "after an unreadable header, values have no key to go to";
    EXPECT_EQ(registry.Value(kUser, kKey, "Good")->text, "yes");
    EXPECT_FALSE(registry.KeyExists(kUser, "Software\\Unclosed"));

    const auto foreign = ImportRegistryText(registry, system,
                                            "Windows Registry Editor Version 6.00\r\n\r\n"
                                            "[HKEY_CURRENT_USER\\Software\\New]\r\n");
    EXPECT_FALSE(foreign.formatKnown);
    EXPECT_FALSE(foreign.Ok());
    EXPECT_FALSE(registry.KeyExists(kUser, "Software\\New"));
    EXPECT_FALSE(ImportRegistryText(registry, system, "").Ok());
}

TEST_F(RegistryBackupTest, RootNamesComeFromTheHiveTable) {
    EXPECT_EQ(RegistryRootName(RegistryRoot::CurrentUser), "HKEY_CURRENT_USER");
    EXPECT_EQ(RegistryRootName(RegistryRoot::DynData), "HKEY_DYN_DATA");
    EXPECT_EQ(RegistryRootName(RegistryRoot::PerformanceData), "");
    EXPECT_EQ(RegistryRootFromName("hkey_local_machine"), RegistryRoot::LocalMachine);
    EXPECT_FALSE(RegistryRootFromName("HKLM"));
}

} // namespace
} // namespace grimsweep
