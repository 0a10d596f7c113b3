// The company name read from real program files under Wine.
#include "scan/company_name.h"

#include <gtest/gtest.h>

#include "win32/temp_folder.h"

#include "platform/win32/win32_system.h"

namespace grimsweep::win32 {
namespace {

class CompanyNameTest : public TempFolderTest {
protected:
    CompanyNameTest() : TempFolderTest("grimsweep-company-test") {}
};

TEST_F(CompanyNameTest, TheBuiltProgramNamesItsCompanyAndAPlainFileNone) {
    Win32System system;
    const std::string own = system.OwnExecutablePath();
    const std::string program = own.substr(0, own.rfind('\\') + 1) + GRIMSWEEP_EXE_NAME;
    EXPECT_EQ(ReadCompanyName(files, program), "Lanternfish Software");
    // Small chunks give the same answer from the real file.
    EXPECT_EQ(ReadCompanyName(files, program, 4096), "Lanternfish Software");
    EXPECT_FALSE(IsMicrosoftCompany(ReadCompanyName(files, program)));

    const std::string plain = folder + "\\plain.exe";
    ASSERT_TRUE(files.WriteFile(plain, std::string("MZ\x90\0", 4) + std::string(5000, 'x')));
    EXPECT_EQ(ReadCompanyName(files, plain), "");
    EXPECT_EQ(ReadCompanyName(files, folder + "\\missing.exe"), "");
}

} // namespace
} // namespace grimsweep::win32
