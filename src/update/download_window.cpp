#include "update/download_window.h"

#include "core/context.h"

namespace grimsweep {

DownloadWindow::DownloadWindow(Context& context, const Skin& skin, TrayIcon& mainTray)
    : context_(context), skin_(skin), mainTray_(mainTray), tray_(context.machine.shell),
      form_(context.host, std::string(kDownloadWindowName)) {
    using ui::ControlType;
    // It stays in view above the other windows while the update runs, without taking the keyboard from
    // the window the user works in; its own tray icon stands for it, not a taskbar button.
    form_.SetStyle({.borderless = true, .topMost = true, .noActivate = true});
    form_.SetShowInTaskList(false);
    form_.Move(0, 0, 5400, 2700);
    form_.Add("picUp", ControlType::PictureBox).Move(240, 240, 480, 480);
    form_.Add("picDown", ControlType::PictureBox).Move(240, 240, 480, 480);
    form_.Add("lblProduct", ControlType::Label).Move(900, 240, 4200, 300);
    form_.Add("txtStatus", ControlType::TextBox).Move(900, 720, 4200, 600);
    ui::Control& cancel = form_.Add("cmdCancel", ControlType::CommandButton);
    cancel.SetCaption("Cancel");
    cancel.Move(3960, 1740, 1140, 420);
    cancel.onClick = [this] {
        cancelled_ = true;
        form_.Unload();
    };
    ui::Control& blink = form_.Add("tmrBlink", ControlType::Timer);
    blink.SetInterval(kBlinkInterval);
    blink.SetEnabled(false);
    blink.onTimer = [this] { Blink(); };
    form_.onLoad = [this] { OnLoad(); };
    form_.onUnload = [this] {
        form_.Get("tmrBlink").SetEnabled(false);
        tray_.RemoveIcon(form_);
    };
    form_.onMouseMove = [this](int x) {
        // The double-click arrives as a position in twips, which depends on the DPI.
        if (mainTray_.bRunningInTray &&
            TrayMessageOfMouseX(x, context_.host.TwipsPerPixelX()) == kTrayLeftDoubleClick) {
            form_.SetState(ui::WindowState::Normal);
            form_.Show();
            form_.SetState(ui::WindowState::Normal);
        }
    };
}

void DownloadWindow::OnLoad() {
    counter_ = 0;
    cancelled_ = false;
    form_.SetCaption(context_.brand.programName + " Live Update");
    form_.SetIconResource(std::string(kWindowIconResource));
    form_.Get("picUp").SetPicture(std::string(kWindowIconResource));
    form_.Get("picDown").SetPicture(std::string(kWindowIconResource));
    form_.Get("tmrBlink").SetEnabled(true);
    form_.Get("picDown").SetVisible(false);
    form_.Get("picUp").SetVisible(true);
    form_.Get("lblProduct").SetCaption(context_.Message("MSG_DOWNLOADING"));
    tray_.RemoveIcon(form_);
    tray_.ShowIcon(form_);
    tray_.ChangeToolTip(form_, std::string(kDownloadTrayTip));
    if (context_.brand.skinningEnabled) {
        ApplySkin(form_, skin_);
    }
}

void DownloadWindow::Blink() {
    ui::Control& up = form_.Get("picUp");
    ui::Control& down = form_.Get("picDown");
    ui::Control& headline = form_.Get("lblProduct");
    if (down.Visible()) {
        down.SetVisible(false);
        up.SetVisible(true);
        headline.SetCaption(context_.Message("MSG_CONNECTING"));
    } else {
        headline.SetCaption(context_.Message("MSG_CHECKING"));
        down.SetVisible(true);
        up.SetVisible(false);
    }
    if (counter_ > 14) {
        counter_ = 0;
    }
    if (counter_ == 0) {
        headline.SetCaption(context_.Message("MSG_CONNECTING2"));
    } else if ((counter_ >= 2 && counter_ <= 5) || (counter_ >= 10 && counter_ <= 14)) {
        headline.SetCaption(context_.Message("MSG_SENDING"));
    } else if (counter_ == 6) {
        headline.SetCaption(context_.Message("MSG_SENT"));
    } else if (counter_ == 8) {
        headline.SetCaption(context_.Message("MSG_RECEIVING"));
    }
    ++counter_;
}

} // namespace grimsweep
