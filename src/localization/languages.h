// The localization object (clsLanguages): loads one language group of Localization.xml from the
// application folder, looks up its items, translates windows and the message catalogue, and writes
// the template Localization.txt from the program's own windows and messages.
#pragma once

#include <string>
#include <string_view>

#include "core/context.h"
#include "localization/localization_text.h"
#include "ui/form.h"

namespace grimsweep {

inline constexpr std::string_view kTemplateFileName = "Localization.txt";
inline constexpr std::string_view kEnglish = "English";

class Languages {
public:
    explicit Languages(Context& context);

    // Remembers the name and loads that language's item lines from the file. A missing file, or a
    // language the file does not hold whole, keeps the lines loaded before.
    void LoadLanguage(const std::string& name);
    // The translated text with the brand placeholders replaced and its first letter upper-cased; the
    // empty text when the item is missing.
    std::string LookUpItem(std::string_view name) const;
    // Loads the language (English when it leaves fewer than two item lines) and translates the window's
    // controls and the catalogue.
    void ChangeLanguage(ui::Form& window, const std::string& name);
    // The same for the catalogue alone, as a program without windows speaks.
    void ChangeMessages(const std::string& name);
    // The same for a multi-document parent window.
    void ChangeLanguageMDI(ui::Form& window, const std::string& name);
    // Translates the window's controls with the lines loaded now; missing or empty items leave a text as
    // it is.
    void TranslateWindow(ui::Form& window) const;

    // True when a directory search for the path finds a file of the path's last name (hidden and system
    // files count).
    bool LangFileExists(const std::string& path) const;
    static std::string LangTrimPath(std::string_view path);
    // The language window reads the names from the file itself.
    void ListLanguages() const {}
    // Writes Localization.txt in the application folder from every window of the program and the
    // catalogue. Returns false when it could not be written.
    bool makeLocalizationFile() const;

    const std::string& CurrentLanguage() const { return language_; }
    // The language file in use: the user's downloaded copy in the data folder when there is one, else
    // the one shipped beside the program (which a standard user cannot replace).
    std::string FilePath() const;
    // Where a downloaded language file goes: the user's data folder.
    std::string DownloadPath() const;
    std::string TemplatePath() const;

private:
    Context& context_;
    std::string language_{kEnglish};
    TranslationItems items_;
};

} // namespace grimsweep
