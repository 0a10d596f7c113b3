// The folder listing cache on real files under Wine: for every generated path, asked again and again,
// the same answer as the plain presence test.
#include "scan/folder_listing_cache.h"

#include <gtest/gtest.h>

#include "win32/temp_folder.h"

#include "common/text.h"
#include "core/file_presence.h"

namespace grimsweep::win32 {
namespace {

class Win32FolderListingCacheTest : public TempFolderTest {
protected:
    Win32FolderListingCacheTest() : TempFolderTest("grimsweep-listing-cache-test") {}

    void Put(const std::string& name, std::uint32_t attributes = 0) {
        const std::string path = folder + "\\" + name;
        ASSERT_TRUE(files.WriteFile(path, "x")) << path;
        if (attributes) {
            ASSERT_TRUE(files.SetAttributes(path, attributes)) << path;
        }
    }
};

TEST_F(Win32FolderListingCacheTest, GivesThePlainTestsAnswerOnRealFiles) {
    for (const char* name :
         {"Alpha.txt", "BETA.DLL", "gamma", "\xC3\x89lan.exe",
          "stra\xC3\x9F"
          "e.txt",
          "\xCF\x82.txt", "Kelvin.txt", "MiXeD.Case.Name.ini", "Long File Name.document", ".profile"}) {
        Put(name);
    }
    Put("ReadOnly.dat", kAttrReadOnly);
    Put("Hidden.sys", kAttrHidden);
    Put("System.sys", kAttrSystem);
    ASSERT_TRUE(files.CreateFolder(folder + "\\Sub.txt"));
    ASSERT_TRUE(files.WriteFile(folder + "\\Sub.txt\\inner.txt", "x"));
    ASSERT_TRUE(files.CreateFolder(folder + "\\Empty"));
    // The short (8.3) form Wine made for the long name.
    wchar_t shortPath[MAX_PATH] = {};
    ASSERT_GT(GetShortPathNameW(Widen(folder + "\\Long File Name.document").c_str(), shortPath, MAX_PATH),
              0u);
    const std::string shortName = AfterLastBackslash(Narrow(shortPath));
    ASSERT_NE(shortName.find('~'), std::string::npos) << shortName;

    const std::vector<std::string> names = {"Alpha.txt",
                                            "alpha.TXT",
                                            "ALPHA.TXT",
                                            "beta.dll",
                                            "GAMMA",
                                            "\xC3\xA9lan.EXE",
                                            "\xC3\x89LAN.exe",
                                            "STRASSE.txt",
                                            "STRA\xC3\x9F"
                                            "E.TXT",
                                            "\xCF\x83.txt",
                                            "\xCE\xA3.TXT",
                                            "\xCF\x82.TXT",
                                            "\xE2\x84\xAA"
                                            "elvin.txt",
                                            "kelvin.TXT",
                                            "mixed.case.name.INI",
                                            "long file name.DOCUMENT",
                                            shortName,
                                            ".PROFILE",
                                            "ReadOnly.dat",
                                            "Hidden.sys",
                                            "hidden.SYS",
                                            "System.sys",
                                            "Sub.txt",
                                            "Sub.txt\\inner.txt",
                                            "SUB.TXT\\INNER.TXT",
                                            "Missing.txt",
                                            "Alpha",
                                            "Alpha.txt.",
                                            "Alpha.txt ",
                                            "Alph?.txt",
                                            "*.txt",
                                            "..\\" + AfterLastBackslash(folder) + "\\Alpha.txt",
                                            ".\\Alpha.txt",
                                            "Alpha.txt\\x",
                                            "nul",
                                            "NUL.txt",
                                            "Empty"};
    const std::vector<std::string> folders = {folder,
                                              ToUpper(folder),
                                              folder + "\\Sub.txt",
                                              folder + "\\Empty",
                                              folder + "\\Missing",
                                              folder + "\\.",
                                              folder + "\\Sub.txt\\..",
                                              ReplaceAll(folder, "\\", "/")};
    for (int listAt : {1, 2}) {
        FolderListingCache cache(files, listAt);
        for (int round = 0; round < 3; ++round) {
            for (const auto& base : folders) {
                for (const auto& name : names) {
                    const std::string path = base + "\\" + name;
                    EXPECT_EQ(cache.FileExists(path), FileExists(files, path)) << path;
                }
            }
        }
        EXPECT_GT(cache.Listings(), 0);
    }
}

} // namespace
} // namespace grimsweep::win32
