#include "definitions/safe_list.h"

#include <gtest/gtest.h>

#include <random>

#include "definitions/definition_files.h"
#include "definitions_fixture.h"
#include "linear_reference.h"

namespace grimsweep {
namespace {

class SafeListTest : public DefinitionsTest {
protected:
    const SafeList& Safe() const { return definitions.safeList; }
};

TEST_F(SafeListTest, LoadsEveryTagAndMatchesWholePathsOnly) {
    PutDefinitions(kSafetyFile,
                   {"SREG|x|2^SOFTWARE\\Example", "SFILE|good.exe=1|[drive]\\Tools\\good.exe|v",
                    "SDIR|x|[comdesk]Keep\\", "SEXE|plain.exe=1|", " continued.exe=2", "JUNK|x|y", ""});
    EXPECT_TRUE(LoadSafeList(context, definitions.safeList));
    EXPECT_EQ(Safe().Entries(),
              (std::vector<std::string>{"HKEY_LOCAL_MACHINE\\SOFTWARE\\Example", "C:\\Tools\\good.exe",
                                        "C:\\Documents and Settings\\Tester\\Desktop\\Keep\\", "plain.exe",
                                        "continued.exe", "", "", ""}));
    EXPECT_EQ(host.pumps, 7);

    EXPECT_TRUE(Safe().IsSafeItem("hkey_local_machine\\software\\example"));
    EXPECT_TRUE(Safe().IsSafeItem("HKEY_LOCAL_MACHINE\\SOFTWARE\\Example\\"));
    EXPECT_FALSE(Safe().IsSafeItem("HKEY_LOCAL_MACHINE\\SOFTWARE\\Example\\Below"));
    EXPECT_FALSE(Safe().IsSafeItem("HKEY_LOCAL_MACHINE\\SOFTWARE"));
    EXPECT_TRUE(Safe().IsSafeItem("  c:\\tools\\GOOD.EXE/")); // entries after the first
    EXPECT_TRUE(Safe().IsSafeItem("C:\\Documents and Settings\\Tester\\Desktop\\Keep"));
    EXPECT_TRUE(Safe().IsSafeItem("CONTINUED.EXE"));
    EXPECT_FALSE(Safe().IsSafeItem("C:\\Tools"));
}

TEST_F(SafeListTest, EmptyPathsAndBareHiveRoots) {
    EXPECT_TRUE(LoadSafeList(context, definitions.safeList)); // no Safety.dat
    EXPECT_TRUE(Safe().Entries().empty());
    EXPECT_FALSE(Safe().IsSafeItem("HKEY_LOCAL_MACHINE"));
    EXPECT_TRUE(Safe().IsSafeItem(""));
    EXPECT_TRUE(Safe().IsSafeItem(" \\"));

    PutDefinitions(kSafetyFile, {"SDIR|x|", "SFILE|  |"}); // blank entries only
    LoadSafeList(context, definitions.safeList);
    EXPECT_FALSE(Safe().IsSafeItem("HKEY_USERS"));

    PutDefinitions(kSafetyFile, {"SFILE|x|C:\\x.exe"});
    LoadSafeList(context, definitions.safeList);
    EXPECT_TRUE(Safe().IsSafeItem("HKEY_LOCAL_MACHINE"));
    EXPECT_TRUE(Safe().IsSafeItem("hkey_current_config\\"));
    EXPECT_TRUE(Safe().IsSafeItem("HKEY_USERS\\\\"));
    EXPECT_FALSE(Safe().IsSafeItem("HKEY_DYN_DATA"));
    EXPECT_FALSE(Safe().IsSafeItem("HKEY_LOCAL_MACHINE\\Software"));
}

TEST_F(SafeListTest, EntriesMatchInAnyCaseOfEveryLetter) {
    // Safety.dat is in the system code page: "Ärger.exe" and "Mötley" are Windows-1252 bytes there.
    PutDefinitions(kSafetyFile, {"SFILE|x|C:\\Tools\\\xC4rger.exe", "SDIR|x|[drive]\\M\xF6tley\\"});
    LoadSafeList(context, definitions.safeList);
    EXPECT_TRUE(Safe().IsSafeItem("c:\\tools\\\xC3\xA4RGER.EXE"));
    EXPECT_TRUE(Safe().IsSafeItem("C:\\M\xC3\x96TLEY"));
    EXPECT_FALSE(Safe().IsSafeItem("C:\\Tools\\Arger.exe"));

    SafeList list;
    list.Assign({"HKEY_CURRENT_USER\\Software\\\xD0\x97\xD0\x9B\xD0\x9E"}); // ЗЛО
    EXPECT_TRUE(list.IsSafeItem("hkey_current_user\\software\\\xD0\xB7\xD0\xBB\xD0\xBE\\"));
    EXPECT_FALSE(list.IsSafeItem("hkey_current_user\\software\\\xD0\xB7\xD0\xBB"));
}

TEST_F(SafeListTest, StopRequestEndsTheLoadEarly) {
    PutDefinitions(kSafetyFile, {"SFILE|a|C:\\a", "SFILE|b|C:\\b", "SFILE|c|C:\\c"});
    int asked = 0;
    LoadSafeList(context, definitions.safeList, [&] { return ++asked > 2; });
    EXPECT_TRUE(Safe().IsSafeItem("C:\\b"));
    EXPECT_FALSE(Safe().IsSafeItem("C:\\c"));
}

// Entries and paths built from a small alphabet so that trailing slashes, blanks, case and hive roots
// collide often.
std::string RandomText(std::mt19937& random, std::size_t maxLength) {
    static const std::vector<std::string> kPieces = {
        "a", "B", "\\", "/", " ", "c:", "HKEY_USERS", "hkey_local_machine", "HKEY_DYN_DATA", "x\\y", "\\\\",
        // Letters whose cases differ in their bytes or their length, a long s that folds to ASCII, and
        // broken UTF-8.
        "\xC3\x96", "\xC3\xB6", "\xE2\x84\xAA", "k",
        "hkey_u\xC5\xBF"
        "ers",
        "\xC3", "\xFF"};
    std::string text;
    const std::size_t length = random() % (maxLength + 1);
    for (std::size_t i = 0; i < length; ++i) {
        text += kPieces[random() % kPieces.size()];
    }
    return text;
}

TEST(SafeListDifferential, HashedLookupAnswersLikeTheLinearWalk) {
    std::mt19937 random(20060316);
    for (int round = 0; round < 300; ++round) {
        std::vector<std::string> entries;
        const std::size_t count = random() % 6;
        for (std::size_t i = 0; i < count; ++i) {
            entries.push_back(RandomText(random, 3));
        }
        SafeList list;
        list.Assign(entries);
        for (int probe = 0; probe < 60; ++probe) {
            // Half the probes are entries with noise around them.
            std::string path = RandomText(random, 3);
            if (!entries.empty() && probe % 2 == 0) {
                path = entries[random() % entries.size()] + std::string(random() % 2, '\\') +
                       std::string(random() % 2, ' ');
            }
            ASSERT_EQ(list.IsSafeItem(path), reference::LinearIsSafeItem(entries, path))
                << "path \"" << path << "\" round " << round;
        }
    }
}

} // namespace
} // namespace grimsweep
