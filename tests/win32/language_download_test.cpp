// The language download over the real WinINet from gsdefs.exe serve on 127.0.0.1: the served file
// replaces Localization.xml beside the program in one step, and a cut-off answer leaves it alone.
#include <gtest/gtest.h>

#include "win32/helper_programs.h"
#include "win32/local_definition_service.h"
#include "win32/temp_folder.h"

#include "core/context.h"
#include "localization/language_window.h"
#include "localization/languages.h"
#include "platform/win32/win32_machine.h"
#include "shell/skin.h"
#include "ui/headless_host.h"
#include "update/service_addresses.h"

namespace grimsweep::win32 {
namespace {

const std::string kServed =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<XML_DIZ_INFO>\r\n"
    "<LANGUAGE_GROUP xml:lang=\"en\">\r\n\t<LANGUAGE_NAME>English</LANGUAGE_NAME>\r\n"
    "\t<TRANSLATION_ITEMS>\r\n\t\t<MSG_SURE>Are you sure?</MSG_SURE>\r\n"
    "\t</TRANSLATION_ITEMS>\r\n</LANGUAGE_GROUP>\r\n"
    "<LANGUAGE_GROUP xml:lang=\"fr\">\r\n\t<LANGUAGE_NAME>Fran\xC3\xA7"
    "ais</LANGUAGE_NAME>\r\n\t<TRANSLATION_ITEMS>\r\n\t\t<MSG_SURE>S\xC3\xBBr ?</MSG_SURE>\r\n"
    "\t</TRANSLATION_ITEMS>\r\n</LANGUAGE_GROUP>\r\n</XML_DIZ_INFO>";

class LanguageDownloadTest : public TempFolderTest {
protected:
    LanguageDownloadTest()
        : TempFolderTest("grimsweep-language-download-test"), context(machine.View(), host),
          languages(context), picker(context, skin, languages) {
        context.messages.RegisterDefaults();
    }
    void SetUp() override {
        TempFolderTest::SetUp();
        servicesFile = BesideTestProgram(std::string(kServicesFileName).c_str());
        // The shipped file beside the test programs is put back afterwards.
        shipped = files.ReadFile(languages.FilePath());
    }
    void TearDown() override {
        files.DeleteFile(servicesFile);
        if (shipped) {
            files.WriteFile(languages.FilePath(), *shipped);
        } else {
            files.DeleteFile(languages.FilePath());
        }
        TempFolderTest::TearDown();
    }

    Win32Machine machine;
    HeadlessHost host;
    Skin skin;
    Context context;
    Languages languages;
    LanguageWindow picker;
    std::string servicesFile;
    std::optional<std::string> shipped;
};

TEST_F(LanguageDownloadTest, TheServedFileReplacesTheOldOneWholeAndACutOffOneChangesNothing) {
    ASSERT_TRUE(files.WriteFile(folder + "\\Localization.xml", kServed.substr(0, kServed.size() - 60)));
    LocalDefinitionService service(folder);
    ASSERT_FALSE(service.Address().empty());
    ASSERT_TRUE(files.WriteFile(servicesFile, "[Services]\r\nLanguages=" + service.Address() + "\r\n"));
    ASSERT_TRUE(files.WriteFile(languages.FilePath(), "old"));

    picker.CheckForLanguageUpdates();
    EXPECT_EQ(files.ReadFile(languages.FilePath()), "old") << "a cut-off answer";
    EXPECT_TRUE(host.Shown().empty());

    ASSERT_TRUE(files.WriteFile(folder + "\\Localization.xml", kServed));
    picker.CheckForLanguageUpdates();
    EXPECT_EQ(files.ReadFile(languages.FilePath()), kServed + "\r\n") << "the bytes as served";
    ASSERT_EQ(host.Shown().size(), 1u);
    EXPECT_EQ(host.Shown()[0].text, "The latest language file has been downloaded.");
    EXPECT_EQ(picker.Window().Get("Combo1").Items(), (std::vector<std::string>{"English", "Fran\xC3\xA7"
                                                                                          "ais"}));
    // Nothing is left beside it from the replacement.
    const auto entries = files.FindEntries(context.ApplicationFile("Localization*"));
    EXPECT_EQ(entries.size(), 1u);
    languages.ChangeLanguage(picker.Window(), "FRAN\xC3\x87"
                                              "AIS");
    EXPECT_EQ(context.messages.getMessages("MSG_SURE"), "S\xC3\xBBr ?");
}

} // namespace
} // namespace grimsweep::win32
