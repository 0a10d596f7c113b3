// The localization object against the simulated machine: translating a window's every kind of item,
// the catalogue, the fallbacks, and the template it writes.
#include <gtest/gtest.h>

#include <string>

#include "core/context.h"
#include "localization/languages.h"
#include "platform/sim/sim_machine.h"
#include "platform/text_files.h"
#include "ui/headless_host.h"

namespace grimsweep {
namespace {

using ui::ControlType;

std::string Group(const std::string& name, const std::string& items) {
    return "<LANGUAGE_GROUP>\r\n\t<LANGUAGE_NAME>" + name + "</LANGUAGE_NAME>\r\n\t<TRANSLATION_ITEMS>\r\n" +
           items + "\t</TRANSLATION_ITEMS>\r\n</LANGUAGE_GROUP>\r\n";
}

class LanguagesTest : public ::testing::Test {
protected:
    LanguagesTest() : context(sim.View(), host), languages(context), window(host, "frmTest") {
        context.messages.RegisterDefaults();
        window.Add("lblTitle", ControlType::Label).SetCaption("Title");
        window.Add("lblLine", ControlType::Label, nullptr, 0).SetCaption("Line zero");
        window.Add("lblLine", ControlType::Label, nullptr, 1).SetCaption("Line one");
        ui::Control& tabs = window.Add("TabStrip1", ControlType::TabStrip);
        for (const char* tab : {"One", "Two", "Three"}) {
            tabs.AddTab(tab);
        }
        ui::Control& list = window.Add("lvwList", ControlType::ListView);
        list.AddColumn("Name", 1000);
        list.AddColumn("Where", 1000);
        window.Add("mnuFile", ControlType::Menu).SetCaption("File");
        window.Add("optKind", ControlType::OptionButton, nullptr, 2).SetCaption("Kind");
        window.Add("txtName", ControlType::TextBox).SetText("typed");
    }
    void PutFile(const std::string& text) { sim.files.PutFile(languages.FilePath(), text); }
    ui::Control& Get(std::string_view name, int index = -1) { return window.Get(name, index); }

    sim::SimMachine sim;
    HeadlessHost host;
    Context context;
    Languages languages;
    ui::Form window;
};

const std::string kGerman =
    Group("Deutsch", "\t\t<frmtest_lbltitle>Titel von [programname]</frmtest_lbltitle>\r\n"
                     "\t\t<FRMTEST_LBLLINE>Zeile null</FRMTEST_LBLLINE>\r\n"
                     "\t\t<FRMTEST_LBLLINE1>Zeile eins</FRMTEST_LBLLINE1>\r\n"
                     "\t\t<FRMTEST_TABSTRIP1_TABS1>Eins</FRMTEST_TABSTRIP1_TABS1>\r\n"
                     "\t\t<FRMTEST_TABSTRIP1_TABS3>Drei</FRMTEST_TABSTRIP1_TABS3>\r\n"
                     "\t\t<FRMTEST_LVWLIST_COL2>Ort</FRMTEST_LVWLIST_COL2>\r\n"
                     "\t\t<FRMTEST_MNUFILE0>datei</FRMTEST_MNUFILE0>\r\n"
                     "\t\t<FRMTEST_OPTKIND2>Art</FRMTEST_OPTKIND2>\r\n"
                     "\t\t<FRMTEST_TXTNAME>nie</FRMTEST_TXTNAME>\r\n"
                     "\t\t<MSG_SURE>Sind Sie sicher?</MSG_SURE>\r\n"
                     "\t\t<MSG_STOP></MSG_STOP>\r\n"
                     "\t\t<MSG_WEBSITE>Besuchen Sie [WEBSITE] von [CompanyName]</MSG_WEBSITE>\r\n");
const std::string kEnglish = Group("English", "\t\t<FRMTEST_LBLTITLE>Title in English</FRMTEST_LBLTITLE>\r\n"
                                              "\t\t<MSG_SURE>Really sure?</MSG_SURE>\r\n");

TEST_F(LanguagesTest, EveryKindOfItemIsTranslatedAndTheRestKeepsItsText) {
    PutFile(kEnglish + kGerman);
    languages.ChangeLanguage(window, "DEUTSCH");
    EXPECT_EQ(Get("lblTitle").Caption(), "Titel von Grimsweep") << "placeholders in any case";
    EXPECT_EQ(Get("lblLine", 0).Caption(), "Zeile null");
    EXPECT_EQ(Get("lblLine", 1).Caption(), "Zeile eins") << "each member of an array keeps its own text";
    EXPECT_EQ(Get("TabStrip1").Tabs(), (std::vector<std::string>{"Eins", "Two", "Drei"}));
    EXPECT_EQ(Get("lvwList").Columns()[0].caption, "Name");
    EXPECT_EQ(Get("lvwList").Columns()[1].caption, "Ort");
    EXPECT_EQ(Get("mnuFile").Caption(), "Datei") << "suffix 0 outside an array, first letter upper-cased";
    EXPECT_EQ(Get("optKind", 2).Caption(), "Art");
    EXPECT_EQ(Get("txtName").Text(), "typed") << "text boxes are not translated";
    EXPECT_EQ(context.messages.getMessages("MSG_SURE"), "Sind Sie sicher?");
    EXPECT_EQ(context.messages.getMessages("MSG_STOP"), "Are you sure you want to stop the scan?")
        << "an empty item keeps the default";
    EXPECT_EQ(context.messages.getMessages("MSG_WEBSITE"),
              "Besuchen Sie www.lanternfish-software.example von Lanternfish Software");
    EXPECT_EQ(context.messages.getMessages("MSG_PAUSED"),
              "[ProgramName] has been paused.  Click OK to resume.")
        << "a default that no item replaces keeps its placeholder";
}

TEST_F(LanguagesTest, AnUnknownLanguageKeepsTheOneLoadedAndNothingLoadedFallsBackToEnglish) {
    PutFile(kEnglish + kGerman);
    languages.ChangeLanguage(window, "Klingon");
    EXPECT_EQ(Get("lblTitle").Caption(), "Title in English") << "nothing loaded yet: English";
    languages.ChangeLanguage(window, "Deutsch");
    languages.ChangeLanguage(window, "Klingon");
    EXPECT_EQ(Get("lblTitle").Caption(), "Titel von Grimsweep") << "the language before stays";
    EXPECT_EQ(languages.CurrentLanguage(), "Klingon");
}

TEST_F(LanguagesTest, WithoutAFileOrWithABrokenOneNothingChanges) {
    languages.ChangeLanguage(window, "Deutsch");
    EXPECT_EQ(Get("lblTitle").Caption(), "Title");
    EXPECT_EQ(context.messages.getMessages("MSG_CAPTION"), "[ProgramName] by [Company]");
    // A German group cut off before its end: the window keeps its English texts whole.
    PutFile(kEnglish + kGerman.substr(0, kGerman.size() / 2));
    languages.ChangeLanguage(window, "Deutsch");
    EXPECT_EQ(Get("lblTitle").Caption(), "Title in English");
    EXPECT_EQ(Get("lblLine", 0).Caption(), "Line zero");
    // A file that cannot be read.
    sim.files.SetReadFails(languages.FilePath(), true);
    languages.ChangeLanguage(window, "Deutsch");
    EXPECT_EQ(Get("lblTitle").Caption(), "Title in English");
}

TEST_F(LanguagesTest, TheFileIsFoundInAnyCaseAndAFolderOfThatNameIsNoFile) {
    EXPECT_EQ(Languages::LangTrimPath("C:\\a\\b\\Localization.xml"), "Localization.xml");
    EXPECT_EQ(Languages::LangTrimPath("plain"), "plain");
    sim.files.PutFile("C:\\Program Files\\Grimsweep\\LOCALIZATION.XML", kGerman, kAttrHidden | kAttrSystem);
    EXPECT_TRUE(languages.LangFileExists(languages.FilePath()));
    sim.files.PutFolder("C:\\Data\\Localization.xml");
    EXPECT_FALSE(languages.LangFileExists("C:\\Data\\Localization.xml"));
}

TEST_F(LanguagesTest, TheTemplateHoldsEveryWindowItemAndMessageInTheCodePageWithCrLf) {
    window.Get("lblTitle").SetCaption("Café");
    ASSERT_TRUE(languages.makeLocalizationFile());
    const std::string bytes = sim.files.Contents(languages.TemplatePath());
    EXPECT_NE(bytes.find("\t\t<FRMTEST_LBLTITLE>Caf\xE9</FRMTEST_LBLTITLE>\r\n"), std::string::npos)
        << "written in the system code page";
    const auto lines = SplitLines(bytes);
    ASSERT_GT(lines.size(), 12u);
    EXPECT_EQ(lines[0], R"(<?xml version="1.0" encoding="UTF-8"?>)");
    EXPECT_EQ(lines[5], R"(<LANGUAGE_GROUP xml:lang="en">)");
    EXPECT_EQ(lines[6], "\t<LANGUAGE_NAME>English</LANGUAGE_NAME>");
    EXPECT_TRUE(lines[7].starts_with("\t<DESCRIPTION>This file contains various translations of program"));
    EXPECT_TRUE(lines[7].ends_with("button in the Languages window.</DESCRIPTION>"));
    EXPECT_EQ(lines[8], "\t<TRANSLATION_ITEMS>");
    const std::vector<std::string> items(lines.begin() + 9, lines.begin() + 18);
    EXPECT_EQ(items, (std::vector<std::string>{
                         "\t\t<FRMTEST_LBLTITLE>Caf\xE9</FRMTEST_LBLTITLE>",
                         "\t\t<FRMTEST_LBLLINE>Line zero</FRMTEST_LBLLINE>",
                         "\t\t<FRMTEST_LBLLINE1>Line one</FRMTEST_LBLLINE1>",
                         "\t\t<FRMTEST_TABSTRIP1_TABS1>One</FRMTEST_TABSTRIP1_TABS1>",
                         "\t\t<FRMTEST_TABSTRIP1_TABS2>Two</FRMTEST_TABSTRIP1_TABS2>",
                         "\t\t<FRMTEST_TABSTRIP1_TABS3>Three</FRMTEST_TABSTRIP1_TABS3>",
                         "\t\t<FRMTEST_LVWLIST_COL1>Name</FRMTEST_LVWLIST_COL1>",
                         "\t\t<FRMTEST_LVWLIST_COL2>Where</FRMTEST_LVWLIST_COL2>",
                         "\t\t<FRMTEST_MNUFILE0>File</FRMTEST_MNUFILE0>",
                     }));
    EXPECT_EQ(lines[18], "\t\t<FRMTEST_OPTKIND2>Kind</FRMTEST_OPTKIND2>");
    EXPECT_EQ(lines[19], "\t\t<MSG_THANK1>Thank you for using [ProgramName]!</MSG_THANK1>");
    EXPECT_EQ(lines[lines.size() - 3], "\t</TRANSLATION_ITEMS>");
    EXPECT_EQ(lines[lines.size() - 2], "</LANGUAGE_GROUP>");
    EXPECT_EQ(lines.back(), "</XML_DIZ_INFO>");
    EXPECT_EQ(lines.size(), 19 + context.messages.Count() + 3);
    // What it wrote reads back as the English language, item for item.
    sim.files.PutFile(languages.FilePath(), context.machine.system.CodePageToUtf8(bytes));
    window.Get("lblLine", 1).SetCaption("changed");
    languages.ChangeLanguage(window, "English");
    EXPECT_EQ(window.Get("lblLine", 1).Caption(), "Line one");
}

} // namespace
} // namespace grimsweep
