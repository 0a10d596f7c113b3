// The language window in the program: the first start, picking a language (every open window and the
// messages follow), the download from the language service and the file opened for translating.
#include <string>
#include <vector>

#include "app/main_window_controls.h"
#include "app/main_window_fixture.h"
#include "localization/language_window.h"

namespace grimsweep {
namespace {

using namespace settings;

const std::string kLanguageFile = "C:\\Program Files\\Grimsweep\\Localization.xml";
const std::string kServiceUrl = "http://127.0.0.1:8080/Languages/21/Localization.xml";

std::string Group(const std::string& name, const std::string& items) {
    return "<LANGUAGE_GROUP>\r\n\t<LANGUAGE_NAME>" + name + "</LANGUAGE_NAME>\r\n\t<TRANSLATION_ITEMS>\r\n" +
           items + "\t</TRANSLATION_ITEMS>\r\n</LANGUAGE_GROUP>\r\n";
}

const std::string kFile =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<XML_DIZ_INFO>\r\n" +
    Group("English", "\t\t<FRMMAIN_CMDSCAN>Scan Now</FRMMAIN_CMDSCAN>\r\n"
                     "\t\t<MSG_CAPTION>[ProgramName] by [CompanyName]</MSG_CAPTION>\r\n") +
    Group("Deutsch", "\t\t<FRMMAIN_CMDSCAN>Jetzt prüfen</FRMMAIN_CMDSCAN>\r\n"
                     "\t\t<FRMMAIN_TABSTRIP1_TABS3>Zeitplan</FRMMAIN_TABSTRIP1_TABS3>\r\n"
                     "\t\t<FRMMAIN_LVWSPYWAREFOUND_COL1>Gefunden</FRMMAIN_LVWSPYWAREFOUND_COL1>\r\n"
                     "\t\t<FRMMAIN_MNUFILE0>Datei</FRMMAIN_MNUFILE0>\r\n"
                     "\t\t<FRMDELETE_CMDCOPY>Liste kopieren</FRMDELETE_CMDCOPY>\r\n"
                     "\t\t<FRMLANGUAGE_LABEL1>Bitte wählen Sie Ihre Sprache:</FRMLANGUAGE_LABEL1>\r\n"
                     "\t\t<MSG_SELECTED>Nichts ausgewählt.</MSG_SELECTED>\r\n"
                     "\t\t<MSG_CAPTION>[ProgramName] von [CompanyName]</MSG_CAPTION>\r\n"
                     "\t\t<MSG_TITLELANGUAGE>Sprachauswahl</MSG_TITLELANGUAGE>\r\n") +
    "</XML_DIZ_INFO>\r\n";

class LanguageWindowTest : public MainWindowTest {
protected:
    LanguageWindowTest() { sim.files.PutFile(kLanguageFile, kFile); }
    LanguageWindow& Picker() { return window->LanguagePicker(); }
    ui::Control& Combo() { return Picker().Window().Get("Combo1"); }
    // Opens the language window from the Options panel; `act` runs while it is up.
    void WithLanguageWindow(const std::function<void()>& act) {
        int shown = 0;
        host->onModal = [&](ui::Form& form) {
            if (form.Name() == kLanguageWindowName) {
                ++shown;
                act();
            }
        };
        Control("cmdLanguage").Click();
        host->onModal = nullptr;
        EXPECT_EQ(shown, 1);
    }
};

TEST_F(LanguageWindowTest, TheFirstStartAsksForTheLanguageBeforeTheWindowHasLoadedAndOnlyThen) {
    std::vector<std::string> modal;
    host->onModal = [&](ui::Form& form) {
        modal.push_back(form.Name());
        EXPECT_FALSE(Control("cmdStatus").Owner().Visible());
        EXPECT_EQ(Combo().Items(), (std::vector<std::string>{"English", "Deutsch"}));
        EXPECT_EQ(Combo().Text(), "English");
        EXPECT_EQ(form.Caption(), "Language Selection");
    };
    Open();
    EXPECT_EQ(modal, std::vector<std::string>{"frmLanguage"});
    EXPECT_EQ(Setting(kSectionSettings, kLanguage), "English");
    EXPECT_EQ(window->Window().Caption(), "Grimsweep by Lanternfish Software");

    modal.clear();
    ReleaseInstanceLock();
    Start();
    Open();
    EXPECT_TRUE(modal.empty()) << "a language chosen before is not asked for again";
}

TEST_F(LanguageWindowTest, PickingALanguageSwitchesEveryWindowAndTheMessagesAtOnceAndIsKept) {
    Open();
    WithLanguageWindow([&] {
        Combo().SetText(std::string(kChooseLanguageHere));
        Picker().PickLanguage();
        EXPECT_EQ(Setting(kSectionSettings, kLanguage), "English") << "the placeholder entry changes nothing";
        EXPECT_EQ(Control("cmdScan").Caption(), "Scan Now");

        Combo().SetListIndex(1);
        EXPECT_EQ(Setting(kSectionSettings, kLanguage), "Deutsch");
        EXPECT_EQ(Control("cmdScan").Caption(), "Jetzt prüfen");
        EXPECT_EQ(Control(std::string(kTabStrip)).Tabs()[2], "Zeitplan");
        EXPECT_EQ(Control("lvwSpywareFound").Columns()[0].caption, "Gefunden");
        EXPECT_EQ(Control("mnuFile").Caption(), "Datei");
        EXPECT_EQ(window->Window().Caption(), "Grimsweep von Lanternfish Software");
        EXPECT_EQ(window->Removal().Problems().Window().Get("cmdCopy").Caption(), "Liste kopieren")
            << "a window not open yet shows the language when it opens";
        EXPECT_EQ(Picker().Window().Get("Label1").Caption(), "Bitte wählen Sie Ihre Sprache:");
        EXPECT_EQ(Picker().Window().Caption(), "Sprachauswahl");
        EXPECT_EQ(Control("cmdStatus").Caption(), "Status") << "an item the language lacks keeps its text";
    });
    Control("Command4").Click();
    ASSERT_FALSE(host->Shown().empty());
    EXPECT_EQ(host->Shown().back().text, "Nichts ausgewählt.");

    ReleaseInstanceLock();
    Start();
    int shown = 0;
    host->onModal = [&](ui::Form&) { ++shown; };
    Open();
    EXPECT_EQ(shown, 0);
    EXPECT_EQ(Control("cmdScan").Caption(), "Jetzt prüfen") << "the next start speaks the chosen language";
    WithLanguageWindow([&] { EXPECT_EQ(Combo().Text(), "Deutsch"); });
}

TEST_F(LanguageWindowTest, ADownloadReplacesTheFileOnlyWhenItHoldsWholeLanguages) {
    sim.BecomeStandardUser(); // the shipped file beside the program cannot be replaced
    Open();
    const std::string french = kFile.substr(0, kFile.rfind("</XML_DIZ_INFO>")) +
                               Group("Français", "\t\t<FRMMAIN_CMDSCAN>Analyser</FRMMAIN_CMDSCAN>\r\n") +
                               "</XML_DIZ_INFO>";
    // Cut off in the middle or after its last language, a server error page, nothing at all.
    for (const std::string& bad : {french.substr(0, french.size() - 60), french.substr(0, french.size() - 15),
                                   std::string("<html>404</html>"), std::string()}) {
        sim.http.bodies[kServiceUrl] = bad;
        const std::size_t boxes = host->Shown().size();
        WithLanguageWindow([&] { Picker().Window().Get("Command1").Click(); });
        EXPECT_EQ(sim.files.Contents(kLanguageFile), kFile);
        EXPECT_EQ(host->Shown().size(), boxes) << "a failed check says nothing";
    }
    // A whole answer with a byte-order mark before its first "<" is stored from that "<" on.
    sim.http.bodies[kServiceUrl] = "\xEF\xBB\xBF" + french;
    WithLanguageWindow([&] {
        Picker().Window().Get("Command1").Click();
        EXPECT_EQ(Combo().Items(), (std::vector<std::string>{"English", "Deutsch", "Français"}));
        EXPECT_EQ(Combo().Text(), "English");
    });
    // It goes into the user's data folder, which a standard user may write, and is the one in use from
    // then on; the shipped file beside the program stays as it was.
    const std::string downloaded = context->DataFile("Localization.xml");
    EXPECT_EQ(sim.files.Contents(downloaded), french + "\r\n");
    EXPECT_EQ(sim.files.Contents(kLanguageFile), kFile);
    EXPECT_EQ(window->Localization().FilePath(), downloaded);
    ASSERT_FALSE(host->Shown().empty());
    EXPECT_EQ(host->Shown().back().text, "The latest language file has been downloaded.");
    EXPECT_EQ(host->Shown().back().icon, MessageBoxIcon::None);
    EXPECT_EQ(sim.http.requests.back(), kServiceUrl);

    // A replacement that cannot be written says so and changes nothing.
    sim.files.SetWriteFails(downloaded + ".new~", true);
    sim.http.bodies[kServiceUrl] = kFile;
    WithLanguageWindow([&] { Picker().Window().Get("Command1").Click(); });
    EXPECT_EQ(sim.files.Contents(downloaded), french + "\r\n");
    EXPECT_EQ(host->Shown().back().text, context->messages.getMessages("MSG_LANGUAGE_NOT_SAVED"));
}

TEST_F(LanguageWindowTest, TranslateOpensTheFileInTheUsersEditorWhenThereIsOne) {
    Open();
    WithLanguageWindow([&] { Picker().Window().Get("Command3").Click(); });
    ASSERT_FALSE(sim.shell.opened.empty());
    EXPECT_EQ(sim.shell.opened.back(), "open|" + kLanguageFile);
    sim.files.DeleteFile(kLanguageFile);
    const std::size_t opened = sim.shell.opened.size();
    WithLanguageWindow([&] {
        EXPECT_TRUE(Combo().Items().empty()) << "no file, no languages";
        Picker().Window().Get("Command3").Click();
    });
    EXPECT_EQ(sim.shell.opened.size(), opened);
}

} // namespace
} // namespace grimsweep
