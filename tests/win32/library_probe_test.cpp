// Export probes of real files under Wine: a library whose every load ends the process, an ordinary
// mingw-built library, a system library, and files that are no library at all.
#include "platform/win32/win32_libraries.h"

#include <gtest/gtest.h>

#include "win32/helper_programs.h"
#include "win32/temp_folder.h"

namespace grimsweep::win32 {
namespace {

class LibraryProbeTest : public TempFolderTest {
protected:
    LibraryProbeTest() : TempFolderTest("grimsweep-library-test") {}

    void SetUp() override {
        TempFolderTest::SetUp();
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        marker = Narrow(temp) + "grimsweep-hostile-library-ran.txt";
        files.DeleteFile(marker);
    }
    void TearDown() override {
        files.DeleteFile(marker);
        TempFolderTest::TearDown();
    }

    std::string CopyBuilt(const char* built, const std::string& name) {
        const std::string to = folder + "\\" + name;
        EXPECT_TRUE(files.CopyFile(BesideTestProgram(built), to, false)) << built;
        return to;
    }

    std::string marker; // written by the hostile library whenever any of its code runs
    Win32Libraries libraries;
};

// The library really is hostile: loaded the ordinary way, it leaves its marker and ends the process.
TEST_F(LibraryProbeTest, TheHostileLibraryEndsAnyProcessThatLoadsIt) {
    const std::string path = CopyBuilt(GRIMSWEEP_HOSTILE_LIBRARY_NAME, "hostile.dll");
    HelperProcess loader("rundll32.exe \"" + path + "\",DllUnregisterServer");
    ASSERT_TRUE(loader.Started());
    EXPECT_EQ(loader.WaitForExit(10000).value_or(0), 3u);
    // The TLS callback runs before DllMain.
    EXPECT_EQ(files.ReadFile(marker).value_or("no marker"), "tls callback");
}

TEST_F(LibraryProbeTest, AHostileLibraryIsReadNeverRunNorHeld) {
    const std::string path = CopyBuilt(GRIMSWEEP_HOSTILE_LIBRARY_NAME, "hostile.dll");
    const LibraryProbe probe = libraries.ProbeExport(path, "DllUnregisterServer");
    EXPECT_TRUE(probe.loaded);
    EXPECT_TRUE(probe.exportFound);
    // Forwarded to the built copy beside this program: following it would load that copy and end us.
    EXPECT_TRUE(libraries.ProbeExport(path, "DllRegisterServer").exportFound);
    EXPECT_TRUE(libraries.ProbeExport(BesideTestProgram(GRIMSWEEP_HOSTILE_LIBRARY_NAME), "DllRegisterServer")
                    .exportFound);
    EXPECT_FALSE(libraries.ProbeExport(path, "DllGetClassObject").exportFound);
    EXPECT_FALSE(files.GetAttributes(marker).has_value());
    // Nothing keeps the file mapped or open.
    EXPECT_TRUE(files.DeleteFile(path));
}

TEST_F(LibraryProbeTest, OrdinaryLibrariesAndFilesThatAreNone) {
    const std::string plain = CopyBuilt(GRIMSWEEP_PLAIN_LIBRARY_NAME, "plain.dll");
    const LibraryProbe withoutEntry = libraries.ProbeExport(plain, "DllUnregisterServer");
    EXPECT_TRUE(withoutEntry.loaded);
    EXPECT_FALSE(withoutEntry.exportFound);
    EXPECT_TRUE(libraries.ProbeExport(plain, "GrimsweepPlainAnswer").exportFound);

    const std::string shell = Win32System().SystemFolder() + "\\shell32.dll";
    EXPECT_TRUE(libraries.ProbeExport(shell, "DllGetClassObject").exportFound);
    EXPECT_TRUE(libraries.ProbeExport(shell, "DllCanUnloadNow").exportFound);

    const std::string text = folder + "\\readme.dll";
    ASSERT_TRUE(files.WriteFile(text, "MZ is not enough to make a library.\r\n"));
    const LibraryProbe notLibrary = libraries.ProbeExport(text, "DllUnregisterServer");
    EXPECT_FALSE(notLibrary.loaded);
    EXPECT_FALSE(notLibrary.exportFound);
    EXPECT_FALSE(libraries.ProbeExport(folder + "\\missing.ocx", "DllUnregisterServer").loaded);
    EXPECT_FALSE(libraries.ProbeExport(folder, "DllUnregisterServer").loaded);
}

// A pipe named in place of a library file would never answer a read: it is not read at all.
TEST_F(LibraryProbeTest, APipeIsNoLibraryAndNeverWaitedFor) {
    const std::string name = "\\\\.\\pipe\\grimsweep-library-probe-test";
    HANDLE pipe = CreateNamedPipeW(Widen(name).c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE | PIPE_WAIT, 1,
                                   4096, 4096, 0, nullptr);
    ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(libraries.ProbeExport(name, "DllUnregisterServer").loaded);
    CloseHandle(pipe);
}

} // namespace
} // namespace grimsweep::win32
