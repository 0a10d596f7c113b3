// The real window system's part of the host: message boxes and the message pump.
#pragma once

#include "ui/ui_host.h"

namespace grimsweep::win32 {

class Win32UiHost : public IUiHost {
public:
    MessageBoxAnswer ShowMessageBox(const MessageBoxRequest& request) override;
    void PumpMessages() override;
    // Forms are not rendered yet: the window renderer replaces these.
    void FormLoaded(ui::Form&) override {}
    void FormUnloaded(ui::Form&) override {}
    void ShowForm(ui::Form&, bool) override {}
    void FormChanged(ui::Form&, ui::FormChange) override {}
    void ControlAdded(ui::Control&) override {}
    void ControlChanged(ui::Control&, ui::Change) override {}
    void LockDrawing(ui::Form&, bool) override {}
    ScreenRect TaskbarRect() override { return {}; }
    ScreenRect DesktopRect() override { return {}; }
    double TwipsPerPixelX() override { return 15.0; }
    double TwipsPerPixelY() override { return 15.0; }
    std::uint64_t Milliseconds() override { return 0; }
    void Quit() override {}
};

} // namespace grimsweep::win32
