// The interface language: loaded at start-up, switched from the language window, which the Options
// panel's Language button opens.
#include "app/main_window.h"
#include "app/main_window_controls.h"
#include "core/settings_keys.h"

namespace grimsweep {

using namespace settings;

void MainWindow::WireLanguages() {
    Control("cmdLanguage").onClick = [this] { languageWindow_->Show(&form_); };
    languageWindow_->onLanguageChosen = [this](const std::string& language) { SwitchLanguage(language); };
}

void MainWindow::LoadLanguage() {
    const std::string chosen = context_.settings.Read(kSectionSettings, kLanguage, kLanguageDefaultFirstRead);
    const std::string language = context_.settings.Read(kSectionSettings, kLanguage, kLanguageDefault);
    context_.messages.RegisterDefaults();
    languages_.ChangeLanguage(form_, language);
    // The other windows exist already: they show the language from their first appearance.
    for (ui::Form* window : ui::WindowsOf(context_.host)) {
        if (window != &form_) {
            languages_.TranslateWindow(*window);
        }
    }
    if (chosen.empty()) {
        context_.settings.Write(kSectionSettings, kLanguage, kLanguageDefault);
        languageWindow_->Show();
    }
}

void MainWindow::SwitchLanguage(const std::string& language) {
    languages_.ChangeLanguage(form_, language);
    for (ui::Form* window : ui::WindowsOf(context_.host)) {
        if (window != &form_ && window != &languageWindow_->Window()) {
            languages_.TranslateWindow(*window);
        }
    }
    ApplyCatalogueTexts();
    Control("Label22").SetCaption(context_.messages.getMessages(kMsgCaption2));
    ShowLastUpdate();
    RefreshStatusPanel();
    Control(kStatusPanel).SetCaption(context_.Message("MSG_STATUS_TITLE"));
    scheduler_->NameDays();
}

void MainWindow::ApplyCatalogueTexts() {
    form_.SetCaption(context_.messages.getMessages(kMsgCaption));
    Control("cmdWebsite").SetCaption(context_.messages.getMessages(kMsgWebsite));
}

} // namespace grimsweep
