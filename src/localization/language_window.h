// The language window frmLanguage: pick the interface language from those in Localization.xml,
// download the latest file from the language service, or open the file for translating.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "core/context.h"
#include "localization/languages.h"
#include "shell/skin.h"
#include "ui/form.h"

namespace grimsweep {

inline constexpr std::string_view kLanguageWindowName = "frmLanguage";
inline constexpr std::string_view kChooseLanguageHere = "Choose Language Here";
inline constexpr std::string_view kMsgTitleLanguage = "MSG_TITLELANGUAGE";
inline constexpr std::string_view kMsgDownloaded = "MSG_DOWNLOADED";
inline constexpr std::string_view kMsgLanguageNotSaved = "MSG_LANGUAGE_NOT_SAVED";

class LanguageWindow {
public:
    LanguageWindow(Context& context, const Skin& skin, Languages& languages);

    // Shows the window modally, centred over `owner` when it shows (else on the screen); returns when it
    // is closed.
    void Show(const ui::Form* owner = nullptr);
    ui::Form& Window() { return form_; }

    // A language was picked and stored: the program translates its other windows into it.
    std::function<void(const std::string& language)> onLanguageChosen;

    // The window's commands, as its controls run them.
    void FillLanguageList();
    void PickLanguage();
    void CheckForLanguageUpdates();
    void OpenForTranslation();

private:
    void OnLoad();
    std::string StoredLanguage() const;

    Context& context_;
    const Skin& skin_;
    Languages& languages_;
    ui::Form form_;
    bool filling_ = false;
};

} // namespace grimsweep
