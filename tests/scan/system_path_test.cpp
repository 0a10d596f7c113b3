#include "scan/system_path.h"

#include <gtest/gtest.h>

namespace grimsweep {
namespace {

constexpr std::string_view kSystemFolder = "C:\\Windows\\system32";

TEST(NormaliseSystemPathTest, AliasAndDevicePrefixBecomePathsUnderTheSystemFolder) {
    EXPECT_EQ(NormaliseSystemPath("\\SystemRoot\\System32\\x.exe", kSystemFolder),
              "C:\\Windows\\system32\\x.exe");
    EXPECT_EQ(NormaliseSystemPath("\\??\\C:\\WINDOWS\\system32\\x.exe", kSystemFolder),
              "C:\\Windows\\system32\\x.exe");
    // The last "SYSTEM32\" counts; what follows keeps its case; blanks around the path go.
    EXPECT_EQ(NormaliseSystemPath("  D:\\System32\\Sub\\system32\\Drivers\\Ab.SYS ", kSystemFolder),
              "C:\\Windows\\system32\\Drivers\\Ab.SYS");
    EXPECT_EQ(NormaliseSystemPath("\\??\\X:\\system32\\", kSystemFolder), "C:\\Windows\\system32\\");
    // 32-bit programs' system folder, beside it, the same way; the later of the two names counts.
    EXPECT_EQ(NormaliseSystemPath("\\SystemRoot\\SysWOW64\\x.exe", kSystemFolder),
              "C:\\Windows\\SysWOW64\\x.exe");
    EXPECT_EQ(NormaliseSystemPath("\\??\\C:\\WINDOWS\\syswow64\\x.exe", kSystemFolder),
              "C:\\Windows\\SysWOW64\\x.exe");
    EXPECT_EQ(NormaliseSystemPath("C:\\SysWOW64\\system32\\x.exe", kSystemFolder),
              "C:\\Windows\\system32\\x.exe");
}

TEST(NormaliseSystemPathTest, OtherPathsStayAsTheyAre) {
    EXPECT_EQ(NormaliseSystemPath("  C:\\Program Files\\app.exe ", kSystemFolder),
              "  C:\\Program Files\\app.exe ");
    EXPECT_EQ(NormaliseSystemPath("C:\\Windows\\System32", kSystemFolder), "C:\\Windows\\System32");
    EXPECT_EQ(NormaliseSystemPath("", kSystemFolder), "");
}

} // namespace
} // namespace grimsweep
