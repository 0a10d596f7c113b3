#include "scan/folder_listing_cache.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "core/file_presence.h"
#include "platform/sim/sim_file_system.h"

namespace grimsweep {
namespace {

constexpr const char* kBig = "C:\\Data\\Big";

TEST(SplitListablePathTest, SplitsPlainDrivePaths) {
    const auto split = SplitListablePath("C:\\Program Files\\Ad Ware\\x.dll");
    ASSERT_TRUE(split);
    EXPECT_EQ(split->folder, "C:\\Program Files\\Ad Ware");
    EXPECT_EQ(split->name, "x.dll");
    const auto root = SplitListablePath("d:\\boot.ini");
    ASSERT_TRUE(root);
    EXPECT_EQ(root->folder, "d:");
    EXPECT_EQ(root->name, "boot.ini");
    EXPECT_TRUE(SplitListablePath("C:\\Données\\Straße.txt"));
    EXPECT_TRUE(SplitListablePath("C:\\a\\.profile"));
    EXPECT_TRUE(SplitListablePath("C:\\a\\console.txt"));
}

TEST(SplitListablePathTest, RefusesWhatTheListingCouldAnswerDifferently) {
    const std::vector<std::string> refused = {"",
                                              "C:",
                                              "C:\\",
                                              "C:x.txt",
                                              "Data\\x.txt",
                                              "\\\\server\\share\\x.txt",
                                              "\\\\?\\C:\\x.txt",
                                              "1:\\x.txt",
                                              "C:\\a\\*.txt",
                                              "C:\\a\\x?.txt",
                                              "C:\\a\\x<.txt",
                                              "C:\\a\\x.txt:stream",
                                              "C:\\a/x.txt",
                                              "C:/a\\x.txt",
                                              "C:\\a\\\\x.txt",
                                              "C:\\a\\x.txt\\",
                                              "C:\\a\\..\\x.txt",
                                              "C:\\a\\.\\x.txt",
                                              "C:\\a.\\x.txt",
                                              "C:\\a \\x.txt",
                                              "C:\\a\\x.",
                                              "C:\\a\\x ",
                                              "C:\\PROGRA~1\\x.txt",
                                              "C:\\a\\ABCDEF~1.TXT",
                                              "C:\\a\\tab\there",
                                              "C:\\a\\\xff.txt",
                                              "C:\\a\\\xEF\xBF\xBD.txt",
                                              "C:\\a\\nul",
                                              "C:\\a\\NUL.txt",
                                              "C:\\a\\con .log",
                                              "C:\\a\\com1",
                                              "C:\\a\\LPT9.doc",
                                              "C:\\a\\CONOUT$",
                                              "C:\\" + std::string(260, 'x')};
    for (const auto& path : refused) {
        EXPECT_FALSE(SplitListablePath(path)) << path;
    }
    EXPECT_TRUE(SplitListablePath("C:\\" + std::string(250, 'x')));
}

class FolderListingCacheTest : public ::testing::Test {
protected:
    FolderListingCacheTest() {
        for (const char* name : {"Alpha.txt", "BETA.DLL", "gamma", "Élan.exe", "straße.txt", "ς.txt",
                                 "Kelvin.txt", "MiXeD.Case.Name.ini", "ReadOnly.dat", "trail.", "sp "}) {
            files.PutFile(std::string(kBig) + "\\" + name, "x");
        }
        files.PutFile(std::string(kBig) + "\\ReadOnly.dat", "x", kAttrReadOnly | kAttrArchive);
        files.PutFile(std::string(kBig) + "\\Hidden.sys", "x", kAttrHidden);
        files.PutFile(std::string(kBig) + "\\System.sys", "x", kAttrSystem);
        files.PutFile(std::string(kBig) + "\\Both.sys", "x", kAttrHidden | kAttrSystem | kAttrArchive);
        files.PutFile(std::string(kBig) + "\\Sub.txt\\inner.txt", "x"); // a folder named like a file
        files.PutFile("C:\\Data\\Other\\alpha.txt", "x");
        files.PutFile("C:\\root.txt", "x");
        files.PutFolder("C:\\Data\\Empty");
    }

    // Paths into the set-up folders, spelt in many ways, absent ones and unlistable ones among them.
    static std::vector<std::string> GeneratedPaths() {
        const std::vector<std::string> names = {"Alpha.txt",
                                                "alpha.TXT",
                                                "ALPHA.TXT",
                                                "BETA.dll",
                                                "beta.dll",
                                                "Gamma",
                                                "gamma",
                                                "élan.EXE",
                                                "ÉLAN.exe",
                                                "STRASSE.txt",
                                                "STRAßE.TXT",
                                                "σ.txt",
                                                "Σ.TXT",
                                                "ς.txt",
                                                "\u212Aelvin.txt",
                                                "kelvin.TXT",
                                                "mixed.case.name.INI",
                                                "ReadOnly.dat",
                                                "Hidden.sys",
                                                "hidden.SYS",
                                                "System.sys",
                                                "Both.sys",
                                                "Sub.txt",
                                                "sub.TXT",
                                                "Sub.txt\\inner.txt",
                                                "SUB.TXT\\INNER.TXT",
                                                "Missing.txt",
                                                "Alpha.txt.bak",
                                                "Alpha",
                                                "lpha.txt",
                                                "trail.",
                                                "trail",
                                                "sp ",
                                                "sp",
                                                "Alpha.txt.",
                                                "Alpha.txt ",
                                                "Alph?.txt",
                                                "*",
                                                "*.txt",
                                                "..\\Other\\alpha.txt",
                                                ".\\Alpha.txt",
                                                "ALPHA~1.TXT",
                                                "Alpha.txt\\x",
                                                "nul",
                                                "NUL.txt",
                                                "Alpha.txt:s",
                                                ""};
        const std::vector<std::string> folders = {kBig,
                                                  "c:\\data\\big",
                                                  "C:\\DATA\\BIG",
                                                  "C:\\Data\\Other",
                                                  "C:\\Data\\Empty",
                                                  "C:\\Data\\Missing",
                                                  "C:\\Data\\Big\\Sub.txt",
                                                  "C:",
                                                  "C:\\Data\\Big\\",
                                                  "C:\\Data\\.\\Big",
                                                  "C:/Data/Big",
                                                  "Data\\Big",
                                                  "\\\\srv\\c$\\Data\\Big",
                                                  "C:\\DATA~1\\Big"};
        std::vector<std::string> paths;
        for (const auto& folder : folders) {
            for (const auto& name : names) {
                paths.push_back(folder + "\\" + name);
            }
        }
        paths.push_back("C:\\root.txt");
        paths.push_back("C:\\ROOT.TXT");
        paths.push_back("C:\\Data\\Big\\" + std::string(300, 'a'));
        return paths;
    }

    // Asks every path several times in a shuffled order; every answer must be the plain test's.
    void ExpectSameAnswers(FolderListingCache& cache, unsigned seed) {
        auto paths = GeneratedPaths();
        const std::size_t distinct = paths.size();
        for (std::size_t i = 0; i < distinct; ++i) {
            paths.push_back(paths[i]);
            paths.push_back(paths[i]);
        }
        std::shuffle(paths.begin(), paths.end(), std::mt19937(seed));
        for (const auto& path : paths) {
            ASSERT_EQ(cache.FileExists(path), FileExists(files, path)) << path;
        }
    }

    sim::SimFileSystem files;
};

TEST_F(FolderListingCacheTest, GivesThePlainTestsAnswerForEveryGeneratedPath) {
    for (int listAt : {1, 2, 3}) {
        for (unsigned seed : {1u, 2u, 3u}) {
            FolderListingCache cache(files, listAt);
            ExpectSameAnswers(cache, seed);
            EXPECT_GT(cache.Listings(), 0);
        }
    }
}

TEST_F(FolderListingCacheTest, AFailedListingFallsBackToSingleTests) {
    files.FailNext(sim::FileOp::Find, std::string(kBig) + "\\*", 1);
    FolderListingCache cache(files, 1);
    ExpectSameAnswers(cache, 7);
    // Each of the three spellings of the folder listed once; the failed one is not listed again.
    EXPECT_EQ(files.Count(sim::FileOp::Find, std::string(kBig) + "\\*"), 3);
}

TEST_F(FolderListingCacheTest, ListsAFolderOnceFromItsSecondQuestion) {
    FolderListingCache cache(files);
    EXPECT_TRUE(cache.FileExists(std::string(kBig) + "\\Alpha.txt"));
    EXPECT_EQ(cache.Listings(), 0); // a folder named once costs one test, as before
    for (int i = 0; i < 100; ++i) {
        EXPECT_FALSE(cache.FileExists(std::string(kBig) + "\\absent" + std::to_string(i) + ".txt"));
    }
    EXPECT_TRUE(cache.FileExists(std::string(kBig) + "\\ALPHA.TXT"));
    EXPECT_EQ(cache.Listings(), 1);
    EXPECT_EQ(cache.SingleTests(), 1);
    EXPECT_EQ(files.Count(sim::FileOp::Find, std::string(kBig) + "\\*"), 1);
    EXPECT_EQ(files.Count(sim::FileOp::Find, std::string(kBig) + "\\absent7.txt"), 0);
}

// A missing folder needs no more tests once its listing came back empty; an empty folder (or a failed
// listing) and an unlistable path keep theirs.
TEST_F(FolderListingCacheTest, MissingFoldersAreAnsweredEmptyFoldersAndUnlistablePathsKeepSingleTests) {
    FolderListingCache cache(files);
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(cache.FileExists("C:\\Data\\Missing\\x.txt"));
        EXPECT_FALSE(cache.FileExists("C:\\Data\\Empty\\x.txt"));
        EXPECT_TRUE(cache.FileExists("C:\\Data\\Big\\..\\Other\\alpha.txt") ==
                    FileExists(files, "C:\\Data\\Big\\..\\Other\\alpha.txt"));
    }
    EXPECT_EQ(cache.Listings(), 2);
    EXPECT_EQ(cache.SingleTests(), 7) << "the missing folder's file is tested once, before the listing";
}

} // namespace
} // namespace grimsweep
