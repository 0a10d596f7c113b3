#include "shell/tray_popup.h"

#include "core/context.h"
#include "ui/ui_host.h"

namespace grimsweep {

namespace {
constexpr int kPopupWidth = 2880;
constexpr int kPopupHeight = 2400;
} // namespace

TrayPopup::TrayPopup(Context& context, const Skin& skin, ui::Form& mainWindow)
    : context_(context), skin_(skin), mainWindow_(mainWindow), form_(context.host, "frmMenuPopUp") {
    using ui::ControlType;
    form_.Move(0, 0, kPopupWidth, kPopupHeight);
    form_.SetShowInTaskList(false);
    form_.Add("lblName", ControlType::Label).Move(120, 120, 2520, 360);
    ui::Control& show = form_.Add("mnuMaxmimaize", ControlType::CommandButton);
    show.SetCaption("Show Program");
    show.Move(120, 600, 2520, 420);
    ui::Control& exit = form_.Add("mnuClose", ControlType::CommandButton);
    exit.SetCaption("Exit Program");
    exit.Move(120, 1140, 2520, 420);
    ui::Control& close = form_.Add("lblMenuClose", ControlType::Label);
    close.SetCaption("Close This Menu");
    close.Move(120, 1680, 2520, 300);

    ui::Control& up = form_.Add("tmrMenuPopup", ControlType::Timer);
    up.SetInterval(1);
    ui::Control& down = form_.Add("tmrPopDown", ControlType::Timer);
    down.SetInterval(10);
    ui::Control& idle = form_.Add("TmrEnablePopDown", ControlType::Timer);
    idle.SetInterval(1000);

    up.onTimer = [this, &up, &idle] {
        const ui::Bounds& at = form_.Position();
        if (at.top <= targetTop_) {
            up.SetEnabled(false);
            idle.SetEnabled(true);
        } else {
            form_.Move(at.left, at.top - kPopupSlideUpStep, at.width, at.height);
        }
    };
    idle.onTimer = [this, &idle, &down] {
        if (++lTimDown_ > kPopupIdleTicks) {
            lTimDown_ = 0;
            idle.SetEnabled(false);
            down.SetEnabled(true);
        }
    };
    down.onTimer = [this, &down] {
        const ui::Bounds& at = form_.Position();
        form_.Move(at.left, at.top + kPopupSlideDownStep, at.width, at.height);
        if (form_.Position().top > ScreenHeight() - kPopupUnloadAboveBottom) {
            down.SetEnabled(false);
            form_.Unload();
        }
    };
    form_.onMouseMove = [this](int) { lTimDown_ = 0; };
    for (auto* control : {&show, &exit, &close}) {
        control->onMouseMove = [this] { lTimDown_ = 0; };
    }
    close.onMouseMove = [this, &close] {
        lTimDown_ = 0;
        close.SetBold(true);
    };
    close.onClick = [this] { CloseMenu(); };
    show.onClick = [this] {
        if (onShowProgram) {
            onShowProgram();
        }
        CloseMenu();
    };
    exit.onClick = [this] {
        if (onExitProgram) {
            onExitProgram();
        }
        CloseMenu();
    };
    form_.onLoad = [this] { OnLoad(); };
}

int TrayPopup::ScreenHeight() {
    return static_cast<int>(context_.host.DesktopRect().bottom * context_.host.TwipsPerPixelY());
}

void TrayPopup::Show() {
    form_.Unload();
    form_.Load();
}

void TrayPopup::OnLoad() {
    const std::string& name = context_.brand.programName;
    form_.Get("lblName").SetCaption(name);
    form_.SetCaption(name);
    form_.Get("lblMenuClose").SetBold(false);
    lTimDown_ = 0;
    form_.Get("tmrPopDown").SetEnabled(false);
    form_.Get("TmrEnablePopDown").SetEnabled(false);

    // No exit while a scan runs: the scan disables the Results and Settings commands.
    const bool scanRunning =
        !mainWindow_.Get("cmdResults").Enabled() && !mainWindow_.Get("cmdSettings").Enabled();
    form_.Get("mnuClose").SetEnabled(!scanRunning);
    form_.Get("mnuMaxmimaize").SetEnabled(!mainWindow_.Visible());

    // Start at the top edge of the taskbar at the right of the screen, stop a little above the bottom.
    IUiHost& host = context_.host;
    const ScreenRect taskbar = host.TaskbarRect();
    const ScreenRect desktop = host.DesktopRect();
    const int screenHeight = ScreenHeight();
    const int taskbarHeight = static_cast<int>((taskbar.bottom - taskbar.top) * host.TwipsPerPixelY());
    const int left = static_cast<int>(desktop.right * host.TwipsPerPixelX()) - kPopupWidth;
    form_.Move(left, screenHeight - taskbarHeight, kPopupWidth, kPopupHeight);
    targetTop_ = screenHeight - (kPopupHeight + kPopupMarginAboveBottom);

    form_.Show();
    form_.Get("tmrMenuPopup").SetEnabled(true);
    if (context_.brand.skinningEnabled) {
        ApplySkin(form_, skin_);
    }
}

void TrayPopup::CloseMenu() {
    if (!form_.Loaded()) {
        return;
    }
    form_.Get("TmrEnablePopDown").SetEnabled(false);
    form_.Get("tmrMenuPopup").SetEnabled(false);
    form_.Get("tmrPopDown").SetEnabled(true);
}

} // namespace grimsweep
