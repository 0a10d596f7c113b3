#include "shields/spyware_found_alert.h"

#include "common/text.h"
#include "core/brand_values.h"
#include "core/context.h"

namespace grimsweep {

namespace {

struct AlertLabel {
    const char* name;
    const char* caption;
    int left;
    int top;
    int width;
    bool bold;
};

constexpr AlertLabel kLabels[] = {
    {"lblProductName", "Malicious Program Found", 240, 180, 5400, true},
    {"Label1", "Spyware/Adware has been detected.", 240, 600, 5400, false},
    {"SkinLabel5", "Company Name:", 240, 1020, 1500, true},
    {"lblAlertCompanyName", "", 1800, 1020, 3840, false},
    {"SkinLabel4", "File Name:", 240, 1500, 1500, true},
    {"lblAlertFileName", "", 1800, 1500, 3840, false},
    {"SkinLabel2", "Click STOP to stop it from running.", 240, 2040, 5400, false},
    {"SkinLabel3", "Click ALLOW to allow the program to run.", 240, 2400, 5400, false},
};

} // namespace

SpywareFoundAlert::SpywareFoundAlert(Context& context, const Skin& skin)
    : context_(context), skin_(skin), form_(context.host, std::string(kSpywareFoundAlertName)) {
    using ui::ControlType;
    form_.SetStyle({.topMost = true});
    form_.SetShowInTaskList(true);
    form_.Move(0, 0, 6000, 3900);
    for (const AlertLabel& label : kLabels) {
        ui::Control& control = form_.Add(label.name, ControlType::Label);
        control.SetCaption(label.caption);
        control.SetBold(label.bold);
        control.Move(label.left, label.top, label.width, 360);
    }
    ui::Control& stop = form_.Add("cmdYes", ControlType::CommandButton);
    stop.SetCaption("STOP");
    stop.Move(1560, 2880, 1320, 420);
    stop.onClick = [this] {
        if (onStop) {
            onStop();
        }
    };
    ui::Control& allow = form_.Add("cmdNO", ControlType::CommandButton);
    allow.SetCaption("ALLOW");
    allow.Move(3120, 2880, 1320, 420);
    allow.onClick = [this] {
        if (onAllow) {
            onAllow();
        }
    };
    form_.onLoad = [this] {
        form_.SetCaption(context_.brand.programName);
        form_.SetIconResource(std::string(kWindowIconResource));
        if (context_.brand.skinningEnabled) {
            ApplySkin(form_, skin_);
        }
        ui::CentreOnScreen(form_);
    };
    // The close box hides the alert; the program it named is asked about again at the next check.
    form_.onCloseRequest = [this] {
        form_.Hide();
        if (onDismiss) {
            onDismiss();
        }
        return false;
    };
}

void SpywareFoundAlert::Show(const std::string& companyText, const std::string& fileName) {
    form_.Load();
    form_.Get("lblAlertCompanyName").SetCaption(companyText);
    form_.Get("lblAlertFileName").SetCaption(ToUpper(fileName));
    // STOP disables itself while it works; every new alert offers it again.
    form_.Get("cmdYes").SetEnabled(true);
    form_.Show(false);
}

std::string SpywareFoundAlert::FileName() const {
    return Trim(form_.Get("lblAlertFileName").Caption());
}

} // namespace grimsweep
