#include "update/update_notice.h"

#include <cmath>

#include "core/context.h"
#include "core/settings_keys.h"

namespace grimsweep {

namespace {
// The notice converts pixels with these factors rather than the screen's 15 twips per pixel.
constexpr double kHeightFactor = 14.5;
constexpr double kWidthFactor = 14.7;
} // namespace

UpdateNotice::UpdateNotice(Context& context, const Skin& skin)
    : context_(context), skin_(skin), form_(context.host, std::string(kUpdateNoticeName)) {
    using ui::ControlType;
    // A notice above the taskbar: on top of everything, never taking the keyboard, not in the task list.
    form_.SetStyle({.borderless = true, .topMost = true, .noActivate = true});
    form_.SetShowInTaskList(false);
    form_.Move(0, 0, 4200, 1800);
    form_.Add("lblUpdateInfo", ControlType::Label).Move(180, 180, 3840, 900);
    ui::Control& ok = form_.Add("cmdUpdateSuccesfullOK", ControlType::CommandButton);
    ok.SetCaption("OK");
    ok.Move(2880, 1200, 1140, 420);
    ok.onClick = [this] { Ok(); };
    const auto timer = [this](const char* name, int interval, void (UpdateNotice::*tick)()) {
        ui::Control& control = form_.Add(name, ControlType::Timer);
        control.SetInterval(interval);
        control.SetEnabled(false);
        control.onTimer = [this, tick] { (this->*tick)(); };
    };
    timer("tmrPopupSignatureUpdate", kSlideInterval, &UpdateNotice::SlideUp);
    timer("tmrEnablePopDownTimer", kDwellInterval, &UpdateNotice::Dwell);
    timer("tmrPopDown", kSlideInterval, &UpdateNotice::SlideDown);
    form_.onLoad = [this] { OnLoad(); };
}

void UpdateNotice::Show(const std::string& message) {
    form_.Load();
    form_.Show(false);
    Timer("tmrPopupSignatureUpdate").SetEnabled(true);
    form_.Get("lblUpdateInfo").SetCaption(message);
}

void UpdateNotice::OnLoad() {
    Timer("tmrEnablePopDownTimer").SetEnabled(false);
    Timer("tmrPopDown").SetEnabled(false);
    form_.Get("lblUpdateInfo").SetCaption(context_.Message("MSG_SIGNATURES_UPDATED"));
    const ScreenRect taskbar = context_.host.TaskbarRect();
    const ScreenRect desktop = context_.host.DesktopRect();
    const int taskbarHeight = static_cast<int>(std::lround((taskbar.bottom - taskbar.top) * kHeightFactor));
    const int desktopHeight = static_cast<int>(std::lround((desktop.bottom - desktop.top) * kHeightFactor));
    const ui::Bounds& at = form_.Position();
    // The notice measures its inside in pixels, as the desktop is measured: it ends at the screen's right.
    const double insidePixels = form_.ScaleWidth() / context_.host.TwipsPerPixelX();
    const int left = static_cast<int>((desktop.right - desktop.left - insidePixels) * kWidthFactor);
    form_.Move(left, desktopHeight - taskbarHeight, at.width, at.height);
    targetTop_ = static_cast<int>(std::lround(desktopHeight - (at.height + 100.0)));
    if (context_.brand.skinningEnabled) {
        ApplySkin(form_, skin_);
    }
}

void UpdateNotice::SlideUp() {
    const ui::Bounds at = form_.Position();
    if (!form_.Visible()) {
        form_.Show(false);
    }
    if (at.top > targetTop_) {
        form_.Move(at.left, at.top - kSlideUpStep, at.width, at.height);
    } else {
        Timer("tmrPopupSignatureUpdate").SetEnabled(false);
        Timer("tmrEnablePopDownTimer").SetEnabled(true);
    }
}

void UpdateNotice::Dwell() {
    Timer("tmrEnablePopDownTimer").SetEnabled(false);
    Timer("tmrPopDown").SetEnabled(true);
}

void UpdateNotice::SlideDown() {
    const ui::Bounds at = form_.Position();
    if (!form_.Visible()) {
        form_.Show(false);
    }
    form_.Move(at.left, at.top + kSlideDownStep, at.width, at.height);
    if (at.top + kSlideDownStep > kNoticeCloseTop) {
        Timer("tmrPopDown").SetEnabled(false);
        Ok();
    }
}

void UpdateNotice::Ok() {
    context_.settings.Write(settings::kSectionOptions, settings::kShow, "false");
    for (std::string_view timer : {"tmrPopupSignatureUpdate", "tmrEnablePopDownTimer", "tmrPopDown"}) {
        Timer(timer).SetEnabled(false);
    }
    if (onClosed) {
        onClosed();
    }
    form_.Unload();
}

} // namespace grimsweep
