// The shipped Localization.xml against the program itself: every item and message of the template the
// program writes from its windows is in every shipped language, and switching to each leaves no window
// with a placeholder or an English fallback where a translation belongs.
#include <algorithm>
#include <cctype>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/main_window_fixture.h"
#include "app/splash.h"
#include "localization/localization_template.h"
#include "localization/localization_text.h"

namespace grimsweep {
namespace {

const std::vector<std::string> kShippedLanguages = {"English", "Deutsch", "Français"};

std::string ShippedFile() {
    std::ifstream in(GRIMSWEEP_SHIPPED_LOCALIZATION, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The item names of the template lines, in order.
std::vector<std::string> TemplateItems(const std::vector<std::string>& lines) {
    std::vector<std::string> names;
    for (const std::string& line : lines) {
        if (line.starts_with("\t\t<") && !line.starts_with("\t\t<LOCALIZATION_FILE_VERSION")) {
            names.push_back(line.substr(3, line.find('>') - 3));
        }
    }
    return names;
}

class ShippedLanguagesTest : public MainWindowTest {
protected:
    ShippedLanguagesTest() : splash(*context, *window) {}
    Splash splash;
};

TEST_F(ShippedLanguagesTest, EveryLanguageHoldsEveryItemOfEveryWindowAndEveryMessage) {
    Open();
    const std::string file = ShippedFile();
    ASSERT_FALSE(file.empty()) << GRIMSWEEP_SHIPPED_LOCALIZATION;
    EXPECT_EQ(DecodeLocalizationBytes(file), file) << "UTF-8 throughout";
    EXPECT_TRUE(HoldsCompleteLanguageGroups(file));
    const std::vector<std::string> items = TemplateItems(LocalizationTemplateLines(*host, context->messages));
    ASSERT_GT(items.size(), 200u);
    for (const std::string& language : kShippedLanguages) {
        const auto lines = LanguageItemLines(file, language);
        ASSERT_TRUE(lines.has_value()) << language;
        const TranslationItems translation(*lines);
        std::vector<std::string> missing;
        for (const std::string& item : items) {
            if (!translation.Find(item)) {
                missing.push_back(item);
            }
        }
        EXPECT_TRUE(missing.empty()) << language << " lacks " << ::testing::PrintToString(missing);
    }
}

TEST_F(ShippedLanguagesTest, SwitchingToEachLanguageAndBackTranslatesWithTheBrandAndNoPlaceholderLeft) {
    sim.files.PutFile("C:\\Program Files\\Grimsweep\\Localization.xml", ShippedFile());
    Open();
    std::map<std::string, std::string> englishCaptions;
    int buttons = 0;
    int translatedButtons = 0;
    for (const std::string& language : kShippedLanguages) {
        window->LanguagePicker().onLanguageChosen(language);
        for (ui::Form* form : ui::WindowsOf(*host)) {
            for (const auto& control : form->Controls()) {
                const std::string where = language + " " + form->Name() + "." + control->Name();
                EXPECT_EQ(control->Caption().find("[ProgramName]"), std::string::npos) << where;
                EXPECT_EQ(control->Caption().find("[Website]"), std::string::npos) << where;
                const std::string key =
                    form->Name() + "." + control->Name() + std::to_string(control->Index());
                if (language == "English") {
                    englishCaptions[key] = control->Caption();
                } else if (control->Type() == ui::ControlType::CommandButton && !control->Caption().empty()) {
                    ++buttons;
                    translatedButtons += control->Caption() != englishCaptions[key] ? 1 : 0;
                }
            }
        }
        EXPECT_EQ(window->Window().Caption().find('['), std::string::npos) << language;
        // Some words are the same in two languages ("Status", "OK"); most buttons are not.
        EXPECT_GE(translatedButtons * 4, buttons * 3) << language << ": too many English buttons";
        buttons = 0;
        translatedButtons = 0;
        for (std::size_t i = 0; i < context->messages.Count(); ++i) {
            EXPECT_EQ(context->messages.getMessages(context->messages.KeyAt(i)).find("[ProgramName]"),
                      std::string::npos)
                << language << " " << context->messages.KeyAt(i);
        }
    }
    // Back to English: every text is the English one again, none is left in French.
    window->LanguagePicker().onLanguageChosen("English");
    for (ui::Form* form : ui::WindowsOf(*host)) {
        for (const auto& control : form->Controls()) {
            const std::string key = form->Name() + "." + control->Name() + std::to_string(control->Index());
            EXPECT_EQ(control->Caption(), englishCaptions[key]) << key;
        }
    }
    EXPECT_EQ(context->messages.getMessages("MSG_SURE"), "Are you sure?");
}

// Words that are the same in English and the language, names, and the marks of a date: a text made only
// of them (and of digits and signs) may stand as it is.
const std::set<std::string> kSameInBoth = {
    "OK",   "Ok",      "Status", "cookie", "Version",   "Cookie",      "Start",    "Pause",
    "Stop", "Details", "Live",   "Update", "Adware",    "Spyware",     "Internet", "Diagnostic",
    "AM",   "PM",      "PST",    "X",      "Grimsweep", "Lanternfish", "Software"};

bool MayStandAsItIs(const std::string& text) {
    std::string word;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        const unsigned char c = i < text.size() ? static_cast<unsigned char>(text[i]) : ' ';
        if (std::isalpha(c) != 0 || c >= 0x80) {
            word += static_cast<char>(c);
            continue;
        }
        if (!word.empty()) {
            if (kSameInBoth.count(word) == 0) {
                return false;
            }
            word.clear();
        }
    }
    return true;
}

// Every text a user can read in every window, by where it is: form captions, control captions, tabs and
// list columns, each window loaded so that its own load step has set its texts.
std::map<std::string, std::string> VisibleTexts(HeadlessHost& host, const ui::Form& main) {
    std::map<std::string, std::string> texts;
    for (ui::Form* form : ui::WindowsOf(host)) {
        // A window's load step sets its texts in the language in use, as when the user opens it again.
        if (form != &main && form->Loaded()) {
            form->Unload();
        }
        form->Load();
        texts[form->Name()] = form->Caption();
        for (const auto& control : form->Controls()) {
            const std::string where = form->Name() + "." + control->Name() + std::to_string(control->Index());
            texts[where] = control->Caption();
            for (std::size_t n = 0; n < control->Columns().size(); ++n) {
                texts[where + ".column" + std::to_string(n)] = control->Columns()[n].caption;
            }
            for (std::size_t n = 0; n < control->Tabs().size(); ++n) {
                texts[where + ".tab" + std::to_string(n)] = control->Tabs()[n];
            }
        }
    }
    return texts;
}

// German and French users meet no English: no window text and no message is left as the English one.
TEST_F(ShippedLanguagesTest, GermanAndFrenchLeaveNoEnglishTextInAnyWindowOrMessage) {
    sim.files.PutFile("C:\\Program Files\\Grimsweep\\Localization.xml", ShippedFile());
    Open();
    const auto choose = [&](const std::string& language) {
        context->settings.Write(settings::kSectionSettings, settings::kLanguage, language);
        window->LanguagePicker().onLanguageChosen(language);
    };
    choose("English");
    const std::map<std::string, std::string> english = VisibleTexts(*host, window->Window());
    std::map<std::string, std::string> englishMessages;
    for (std::size_t i = 0; i < context->messages.Count(); ++i) {
        const std::string& key = context->messages.KeyAt(i);
        englishMessages[key] = context->messages.getMessages(key);
    }
    for (const std::string language : {"Deutsch", "Français"}) {
        choose(language);
        std::vector<std::string> stillEnglish;
        for (const auto& [where, text] : VisibleTexts(*host, window->Window())) {
            const auto before = english.find(where);
            // The language list names each language in its own words.
            if (before != english.end() && text == before->second && !MayStandAsItIs(text) &&
                !where.starts_with("frmLanguage.Combo1") &&
                text.find(context->brand.website) == std::string::npos) {
                stillEnglish.push_back(where + " \"" + text + "\"");
            }
        }
        for (const auto& [key, text] : englishMessages) {
            if (context->messages.getMessages(key) == text && !MayStandAsItIs(text)) {
                stillEnglish.push_back(key + " \"" + text + "\"");
            }
        }
        EXPECT_TRUE(stillEnglish.empty())
            << language << " shows English: " << ::testing::PrintToString(stillEnglish);
    }
}

} // namespace
} // namespace grimsweep
