#include "localization/languages.h"

#include <vector>

#include "common/case_folding.h"
#include "common/text.h"
#include "core/default_messages.h"
#include "localization/localization_template.h"
#include "localization/window_items.h"
#include "platform/text_files.h"

namespace grimsweep {

Languages::Languages(Context& context) : context_(context) {}

std::string Languages::FilePath() const {
    const std::string downloaded = DownloadPath();
    if (context_.machine.files.GetAttributes(downloaded).has_value()) {
        return downloaded;
    }
    return context_.ApplicationFile(kLocalizationFileName);
}

std::string Languages::DownloadPath() const {
    return context_.dataFolder.empty() ? context_.ApplicationFile(kLocalizationFileName)
                                       : context_.DataFile(kLocalizationFileName);
}

std::string Languages::TemplatePath() const {
    return context_.ApplicationFile(kTemplateFileName);
}

void Languages::LoadLanguage(const std::string& name) {
    language_ = name;
    const std::string path = FilePath();
    if (!LangFileExists(path)) {
        return;
    }
    const auto bytes = context_.machine.files.ReadFile(path);
    if (!bytes) {
        return;
    }
    if (auto lines = LanguageItemLines(DecodeLocalizationBytes(*bytes), name)) {
        items_ = TranslationItems(std::move(*lines));
    }
}

std::string Languages::LookUpItem(std::string_view name) const {
    const auto found = items_.Find(name);
    if (!found) {
        return {};
    }
    std::string text = ReplaceAllIgnoreCase(*found, "[ProgramName]", context_.brand.programName);
    text = ReplaceAllIgnoreCase(text, "[CompanyName]", context_.brand.companyName);
    text = ReplaceAllIgnoreCase(text, "[Website]", context_.brand.website);
    return ContinuesSentence(name) ? text : UpperFirst(text);
}

void Languages::ChangeLanguage(ui::Form& window, const std::string& name) {
    ChangeMessages(name);
    TranslateWindow(window);
}

void Languages::ChangeMessages(const std::string& name) {
    LoadLanguage(name);
    if (items_.LineCount() < 2) {
        LoadLanguage(std::string(kEnglish));
    }
    context_.messages.ReplaceFromLanguage([this](const std::string& key) { return LookUpItem(key); });
}

void Languages::ChangeLanguageMDI(ui::Form& window, const std::string& name) {
    ChangeLanguage(window, name);
}

void Languages::TranslateWindow(ui::Form& window) const {
    ForEachWindowItem(window, false, [this](const WindowItem& item) {
        std::string text = LookUpItem(item.name);
        if (!text.empty()) {
            item.set(std::move(text));
        }
    });
}

bool Languages::LangFileExists(const std::string& path) const {
    const std::string leaf = LangTrimPath(path);
    for (const auto& entry : context_.machine.files.FindEntries(path)) {
        if ((entry.attributes & kAttrDirectory) == 0 && EqualsFolded(entry.name, leaf)) {
            return true;
        }
    }
    return false;
}

std::string Languages::LangTrimPath(std::string_view path) {
    return AfterLastBackslash(path);
}

bool Languages::makeLocalizationFile() const {
    const std::vector<std::string> lines = LocalizationTemplateLines(context_.host, context_.messages);
    return ReplaceFileContents(context_.machine.files, TemplatePath(),
                               EncodeTextLines(context_.machine.system, lines));
}

} // namespace grimsweep
