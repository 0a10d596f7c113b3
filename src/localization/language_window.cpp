#include "localization/language_window.h"

#include "common/case_folding.h"
#include "common/text.h"
#include "core/settings_keys.h"
#include "localization/localization_text.h"
#include "platform/text_files.h"
#include "update/definition_publisher.h"
#include "update/http_fetch.h"
#include "update/service_addresses.h"

namespace grimsweep {

namespace {
using ui::ControlType;
}

LanguageWindow::LanguageWindow(Context& context, const Skin& skin, Languages& languages)
    : context_(context), skin_(skin), languages_(languages),
      form_(context.host, std::string(kLanguageWindowName)) {
    form_.SetCaption("Language Selection");
    form_.Move(0, 0, 5400, 2700);
    form_.Add("Label1", ControlType::Label).SetCaption("Please select the language you would like to use:");
    form_.Get("Label1").Move(240, 180, 4800, 300);
    ui::Control& list = form_.Add("Combo1", ControlType::ComboBox);
    list.SetText(std::string(kChooseLanguageHere));
    list.Move(240, 540, 4800, 315);
    list.onClick = [this] {
        if (!filling_) {
            PickLanguage();
        }
    };
    ui::Control& update = form_.Add("Command1", ControlType::CommandButton);
    update.SetCaption("Check for language updates");
    update.Move(240, 1080, 2340, 420);
    update.onClick = [this] { CheckForLanguageUpdates(); };
    ui::Control& translate = form_.Add("Command3", ControlType::CommandButton);
    translate.SetCaption("Translate this program");
    translate.Move(2700, 1080, 2340, 420);
    translate.onClick = [this] { OpenForTranslation(); };
    ui::Control& ok = form_.Add("Command2", ControlType::CommandButton);
    ok.SetCaption("OK");
    ok.Move(3840, 1620, 1200, 420);
    ok.onClick = [this] { form_.Unload(); };
    form_.onLoad = [this] { OnLoad(); };
}

void LanguageWindow::Show(const ui::Form* owner) {
    // Each opening runs the load step: the file may have changed since.
    if (form_.Loaded()) {
        form_.Unload();
    }
    if (owner && owner->Visible()) {
        ui::CentreOver(form_, *owner);
    } else {
        ui::CentreOnScreen(form_);
    }
    form_.Show(true);
}

std::string LanguageWindow::StoredLanguage() const {
    return context_.settings.Read(settings::kSectionSettings, settings::kLanguage,
                                  settings::kLanguageDefault);
}

void LanguageWindow::OnLoad() {
    const std::string language = StoredLanguage();
    languages_.ChangeLanguage(form_, language);
    form_.SetCaption(context_.messages.getMessages(kMsgTitleLanguage));
    languages_.ChangeLanguage(form_, language);
    FillLanguageList();
    form_.SetIconResource(std::string(kWindowIconResource));
    if (context_.brand.skinningEnabled) {
        ApplySkin(form_, skin_);
    }
}

void LanguageWindow::FillLanguageList() {
    ui::Control& list = form_.Get("Combo1");
    filling_ = true;
    list.ClearItems();
    const std::string path = languages_.FilePath();
    if (languages_.LangFileExists(path)) {
        if (auto bytes = context_.machine.files.ReadFile(path)) {
            for (const LanguageGroup& group : LanguageGroups(DecodeLocalizationBytes(*bytes))) {
                if (group.hasItems && !group.name.empty()) {
                    list.AddItem(group.name);
                }
            }
        }
    }
    // The current language stays shown.
    const std::string language = StoredLanguage();
    list.SetText(language);
    for (std::size_t i = 0; i < list.Items().size(); ++i) {
        if (EqualsFolded(list.Items()[i], language)) {
            list.SetListIndex(static_cast<int>(i));
            break;
        }
    }
    filling_ = false;
}

void LanguageWindow::PickLanguage() {
    const std::string language = form_.Get("Combo1").Text();
    if (language == kChooseLanguageHere || language.empty()) {
        return;
    }
    context_.settings.Write(settings::kSectionSettings, settings::kLanguage, language);
    if (onLanguageChosen) {
        onLanguageChosen(language);
    }
    languages_.ChangeLanguage(form_, language);
    form_.SetCaption(context_.messages.getMessages(kMsgTitleLanguage));
}

void LanguageWindow::CheckForLanguageUpdates() {
    const std::string url = ReadServiceAddresses(context_).languages + std::string(kLocalizationPage);
    std::string answer = FetchUrlText(context_, url);
    if (FindIgnoreCase(answer, kTranslationItemsTag) == std::string::npos) {
        return;
    }
    const std::size_t first = answer.find('<');
    answer.erase(0, first);
    // Only a whole file replaces the one in use, and in one step: a cut-off answer changes nothing.
    if (!HoldsCompleteLanguageGroups(DecodeLocalizationBytes(answer))) {
        return;
    }
    answer += kCrLf;
    if (!ReplaceFileContents(context_.machine.files, languages_.DownloadPath(), answer)) {
        context_.host.ShowMessageBox({context_.messages.getMessages(kMsgLanguageNotSaved),
                                      context_.brand.programName, MessageBoxButtons::Ok,
                                      MessageBoxIcon::Exclamation});
        return;
    }
    FillLanguageList();
    context_.host.ShowMessageBox({context_.messages.getMessages(kMsgDownloaded), context_.brand.programName,
                                  MessageBoxButtons::Ok, MessageBoxIcon::None});
}

void LanguageWindow::OpenForTranslation() {
    const std::string path = languages_.FilePath();
    if (languages_.LangFileExists(path)) {
        context_.machine.shell.OpenWithDefaultHandler(path, "open");
    }
}

} // namespace grimsweep
