#include "app/splash.h"

#include "app/main_window.h"
#include "core/settings_keys.h"
#include "shell/skin.h"

namespace grimsweep {

Splash::Splash(Context& context, MainWindow& mainWindow)
    : context_(context), mainWindow_(mainWindow), form_(context.host, "frmSplash") {
    using ui::ControlType;
    form_.Move(0, 0, 6000, 3600);
    form_.SetShowInTaskList(false);
    form_.Add("picSplash", ControlType::PictureBox).Move(0, 0, 6000, 3600);
    form_.Add("lblSplashName", ControlType::Label, &form_.Get("picSplash")).Move(480, 1200, 5040, 600);
    form_.Add("lblSplashLoading", ControlType::Label, &form_.Get("picSplash")).Move(480, 2400, 5040, 360);
    ui::Control& timer = form_.Add("Timer2", ControlType::Timer);
    timer.SetInterval(kSplashTimerInterval);
    timer.onTimer = [this] { OnTick(); };
    form_.onLoad = [this] {
        const BrandValues& brand = context_.brand;
        form_.SetCaption(brand.programName);
        form_.Get("lblSplashName").SetCaption(brand.programName);
        form_.Get("lblSplashName").SetBold(true);
        // The splash comes before the window's language is loaded: it reads its one text itself.
        Languages& languages = mainWindow_.Localization();
        languages.LoadLanguage(context_.settings.Read(settings::kSectionSettings, settings::kLanguage,
                                                      settings::kLanguageDefault));
        const std::string loading = languages.LookUpItem("MSG_LOADING");
        form_.Get("lblSplashLoading").SetCaption(loading.empty() ? std::string("Loading...") : loading);
        if (brand.skinningEnabled) {
            ApplySkin(form_, mainWindow_.SkinInUse());
        }
        form_.Get("Timer2").SetEnabled(true);
    };
}

void Splash::Show() {
    ui::CentreOnScreen(form_);
    form_.Show();
}

void Splash::OnTick() {
    const std::int16_t previous = counter_;
    counter_ = static_cast<std::int16_t>(counter_ + 2);
    if (previous != kSplashLastCount) {
        return;
    }
    form_.Get("Timer2").SetEnabled(false);
    mainWindow_.Window().Show();
    form_.Hide();
}

} // namespace grimsweep
