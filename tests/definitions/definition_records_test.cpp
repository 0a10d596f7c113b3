#include "definitions/definition_records.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_shell.h"

namespace grimsweep {
namespace {

class DefinitionRecordsTest : public ::testing::Test {
protected:
    sim::SimShell shell;
    PathMacroTable macros = PathMacroTable::Capture(shell);
};

TEST_F(DefinitionRecordsTest, PathFieldsReplaceDriveThenMacrosThenCollapseBackslashesOnce) {
    EXPECT_EQ(PrepareDefinitionPath(macros, "[drive]\\Program Files\\Evil\\"), "C:\\Program Files\\Evil\\");
    EXPECT_EQ(PrepareDefinitionPath(macros, "[windir]\\x"), "C:\\WINDOWS\\x");
    EXPECT_EQ(PrepareDefinitionPath(macros, "[DRIVE]x"), "[DRIVE]x"); // exact lower-case form only
    EXPECT_EQ(PrepareDefinitionPath(macros, "a\\\\\\b"), "a\\\\b");   // one pass
    EXPECT_EQ(PrepareDefinitionPath(macros, "[recycle]x"), "x");
}

TEST_F(DefinitionRecordsTest, FileRecords) {
    const auto full =
        ParseFileDefinition("evil.exe=Evil Threat|[drive]\\Program Files\\Evil\\|Adware", macros);
    EXPECT_EQ(full.fileName, "evil.exe");
    EXPECT_EQ(full.threat, "Evil Threat");
    EXPECT_EQ(full.details, "Adware");
    EXPECT_EQ(full.fullPath, "C:\\Program Files\\Evil\\evil.exe");

    const auto bare = ParseFileDefinition("evil.exe=Evil Threat", macros);
    EXPECT_EQ(bare.fullPath, "evil.exe");
    EXPECT_EQ(bare.details, "");

    // The name is trimmed, the threat is not; text after a second "=" is ignored; details keep "|".
    const auto odd = ParseFileDefinition("  a b.dll = T1=x|[system]|d1|d2", macros);
    EXPECT_EQ(odd.fileName, "a b.dll");
    EXPECT_EQ(odd.threat, " T1");
    EXPECT_EQ(odd.fullPath, "C:\\WINDOWS\\system32\\a b.dll");
    EXPECT_EQ(odd.details, "d1|d2");

    EXPECT_EQ(ParseFileDefinition("", macros).fullPath, "");
    EXPECT_EQ(ParseFileDefinition("noequals|C:\\x", macros).threat, "");
}

TEST_F(DefinitionRecordsTest, DirectoryRecordsSkipLinesWithoutAFolder) {
    const auto record = ParseDirectoryDefinition("Evil\tLabel\r=Evil Threat|[progfil]Evil|Adware", macros);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->label, "EvilLabel");
    EXPECT_EQ(record->threat, "Evil Threat");
    EXPECT_EQ(record->folder, "C:\\Program Files\\Evil");
    EXPECT_EQ(record->details, "Adware");
    EXPECT_FALSE(ParseDirectoryDefinition("Evil=Evil Threat", macros));
    EXPECT_FALSE(ParseDirectoryDefinition("Evil=Evil Threat||x", macros));
    EXPECT_FALSE(ParseDirectoryDefinition("Bin=T|[recycle]", macros)); // expands to nothing
}

TEST_F(DefinitionRecordsTest, RegistryRecords) {
    const auto key = ParseRegistryDefinition("1^Software\\Example^=Some Threat|Hijacker", macros);
    ASSERT_TRUE(key);
    EXPECT_EQ(key->root, RegistryRoot::CurrentUser);
    EXPECT_EQ(key->hiveName, "HKEY_CURRENT_USER");
    EXPECT_EQ(key->keyPath, "Software\\Example");
    EXPECT_EQ(key->valueName, "");
    EXPECT_EQ(key->threat, "Some Threat");
    EXPECT_EQ(key->details, "Hijacker");

    const auto value = ParseRegistryDefinition("1^Software\\Example^Start Page^= Some Threat ", macros);
    ASSERT_TRUE(value);
    EXPECT_EQ(value->valueName, "Start Page");
    EXPECT_EQ(value->threat, "Some Threat");
    EXPECT_EQ(value->details, "");

    const auto equalsInKey = ParseRegistryDefinition("1^Software\\A=B^=Some Threat", macros);
    ASSERT_TRUE(equalsInKey);
    EXPECT_EQ(equalsInKey->keyPath, "Software\\A=B");

    const auto config = ParseRegistryDefinition("4^System\\X^=T", macros);
    ASSERT_TRUE(config);
    EXPECT_EQ(config->root, RegistryRoot::CurrentConfig);

    // Macros are expanded in the key field; only the value name has "\\" collapsed.
    const auto paths = ParseRegistryDefinition("2^Run\\\\X^[windir]\\evil.exe^=T", macros);
    ASSERT_TRUE(paths);
    EXPECT_EQ(paths->keyPath, "Run\\\\X");
    EXPECT_EQ(paths->valueName, "C:\\WINDOWS\\evil.exe");

    // Without the value-name field the record stands for the key.
    const auto shortSpec = ParseRegistryDefinition("2^Software\\Evil=T", macros);
    ASSERT_TRUE(shortSpec);
    EXPECT_EQ(shortSpec->keyPath, "Software\\Evil");
    EXPECT_EQ(shortSpec->valueName, "");

    EXPECT_FALSE(ParseRegistryDefinition(" ^Software^=T", macros));
    EXPECT_FALSE(ParseRegistryDefinition("6^Software^=T", macros));
    EXPECT_FALSE(ParseRegistryDefinition("-1^Software^=T", macros));
    EXPECT_FALSE(ParseRegistryDefinition("1^Software^", macros));
    // A code that is no number counts as 0.
    EXPECT_EQ(ParseRegistryDefinition("x^CLSID\\{1}^=T", macros)->root, RegistryRoot::ClassesRoot);
}

TEST(HiveCodes, TableAndConversion) {
    EXPECT_EQ(HiveFromCode("0").name, "HKEY_CLASSES_ROOT");
    EXPECT_EQ(HiveFromCode(" 3 ").root, RegistryRoot::Users);
    EXPECT_EQ(HiveFromCode("5").name, "HKEY_DYN_DATA");
    EXPECT_FALSE(HiveFromCode("7").root);
    EXPECT_EQ(HiveFromCode("7").name, "");
    EXPECT_FALSE(HiveFromCode("32767").root);
    EXPECT_EQ(HiveFromCode("99999").root, RegistryRoot::ClassesRoot); // beyond 16 bits: no number
    EXPECT_EQ(HiveFromCode("").root, RegistryRoot::ClassesRoot);
}

TEST_F(DefinitionRecordsTest, ExecutableRecords) {
    const auto record = ParseExeDefinition("evil.exe=Evil Threat|[windir]", macros);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->fileName, "evil.exe");
    EXPECT_EQ(record->threat, "Evil Threat");
    EXPECT_EQ(record->fullPath, "C:\\WINDOWS\\evil.exe");

    // "[drive]" is not replaced here; a field without "|" is all folder.
    EXPECT_EQ(ParseExeDefinition("e.exe=T|[drive]\\x\\", macros)->fullPath, "[drive]\\x\\e.exe");
    EXPECT_EQ(ParseExeDefinition("e.exe=[system]", macros)->fullPath, "C:\\WINDOWS\\system32\\e.exe");
    EXPECT_EQ(ParseExeDefinition(" e.exe =T|C:\\a|b", macros)->fullPath, "C:\\a\\ e.exe ");
    EXPECT_FALSE(ParseExeDefinition("evil.exe", macros));
}

TEST_F(DefinitionRecordsTest, SafetyRecordsAndTheirEntries) {
    std::string tag;
    EXPECT_EQ(SafeEntryOf(ParseSafetyRecord("SREG|x|2^SOFTWARE\\Example", macros, tag)),
              "HKEY_LOCAL_MACHINE\\SOFTWARE\\Example");
    EXPECT_EQ(SafeEntryOf(ParseSafetyRecord("SREG|x|1^Software\\Run^Tool|extra", macros, tag)),
              "HKEY_CURRENT_USER\\Software\\Run\\Tool");
    EXPECT_EQ(SafeEntryOf(ParseSafetyRecord("SREG|x|9^Software\\X", macros, tag)), "\\Software\\X");
    EXPECT_EQ(SafeEntryOf(ParseSafetyRecord("SFILE| good.exe =v|[system]good.exe", macros, tag)),
              "C:\\WINDOWS\\system32\\good.exe");
    EXPECT_EQ(SafeEntryOf(ParseSafetyRecord("SDLL| good.dll =v||", macros, tag)), "good.dll");
    EXPECT_EQ(SafeEntryOf(ParseSafetyRecord("SDIR|x|[progfil]Good//Tool\\\\", macros, tag)),
              "C:\\Program Files\\Good/Tool\\");
    EXPECT_EQ(SafeEntryOf(ParseSafetyRecord("SWHAT|x|C:\\x", macros, tag)), "");
    EXPECT_EQ(SafeEntryOf(ParseSafetyRecord("sfile|x|C:\\x", macros, tag)), ""); // tags are case-sensitive

    // A line without "|" continues the previous tag with an empty path; its whole text is the name part.
    ParseSafetyRecord("SEXE|a.exe|", macros, tag);
    const auto continued = ParseSafetyRecord(" other.exe=1.0", macros, tag);
    EXPECT_EQ(continued.tag, "SEXE");
    EXPECT_EQ(SafeEntryOf(continued), "other.exe");
}

} // namespace
} // namespace grimsweep
