// The download window frmDownload, shown while Live Update talks to the definition service: two pictures
// that blink, a headline that cycles every 15 ticks, the status box the fetch and apply steps write to,
// its own tray icon, and Cancel (which closes the window and stops the update under way before it
// applies anything).
#pragma once

#include "shell/skin.h"
#include "shell/tray_icon.h"
#include "ui/form.h"

namespace grimsweep {

class Context;

inline constexpr std::string_view kDownloadWindowName = "frmDownload";
inline constexpr std::string_view kDownloadTrayTip = "Getting latest definitions.";
inline constexpr int kBlinkInterval = 800;

class DownloadWindow {
public:
    DownloadWindow(Context& context, const Skin& skin, TrayIcon& mainTray);

    ui::Form& Window() { return form_; }
    ui::Control& Status() { return form_.Get("txtStatus"); }
    TrayIcon& Tray() { return tray_; }
    // One tick of the blink timer.
    void Blink();
    int Counter() const { return counter_; }
    // Whether Cancel was pressed since the window was last loaded.
    bool Cancelled() const { return cancelled_; }

private:
    void OnLoad();

    Context& context_;
    const Skin& skin_;
    TrayIcon& mainTray_;
    TrayIcon tray_;
    ui::Form form_;
    int counter_ = 0;
    bool cancelled_ = false;
};

} // namespace grimsweep
