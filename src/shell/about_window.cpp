#include "shell/about_window.h"

#include "core/context.h"
#include "shell/skin.h"

namespace grimsweep {

AboutWindow::AboutWindow(Context& context, const Skin& skin, std::function<void()> openWebsite)
    : context_(context), skin_(skin), openWebsite_(std::move(openWebsite)), form_(context.host, "frmAbout") {
    using ui::ControlType;
    form_.Move(0, 0, 5400, 3600);
    form_.Add("picLogo", ControlType::PictureBox).Move(240, 240, 720, 720);
    form_.Add("lblProgram", ControlType::Label).Move(1200, 240, 3900, 360);
    form_.Add("lblCompany", ControlType::Label).Move(1200, 660, 3900, 300);
    form_.Add("lblVersion", ControlType::Label).Move(1200, 1020, 3900, 300);
    ui::Control& website = form_.Add("lblWebsite", ControlType::Label);
    website.Move(1200, 1380, 3900, 300);
    website.onClick = [this] { openWebsite_(); };
    ui::Control& ok = form_.Add("cmdOK", ControlType::CommandButton);
    ok.SetCaption("OK");
    ok.Move(3840, 2400, 1200, 420);
    ok.onClick = [this] { form_.Unload(); };
    form_.onLoad = [this] { OnLoad(); };
}

void AboutWindow::Show(const ui::Form& owner) {
    ui::CentreOver(form_, owner);
    form_.Show(true);
}

void AboutWindow::OnLoad() {
    const BrandValues& brand = context_.brand;
    form_.SetCaption(context_.Message("MSG_ABOUT"));
    form_.SetIconResource(std::string(kWindowIconResource));
    form_.Get("picLogo").SetPicture(std::string(kWindowIconResource));
    form_.Get("lblProgram").SetCaption(brand.programName);
    form_.Get("lblProgram").SetBold(true);
    form_.Get("lblCompany").SetCaption(brand.companyName);
    form_.Get("lblVersion").SetCaption(context_.Message("MSG_VERSION") + " " + brand.VersionText());
    form_.Get("lblWebsite").SetCaption(brand.website);
    if (brand.skinningEnabled) {
        ApplySkin(form_, skin_);
    }
}

} // namespace grimsweep
