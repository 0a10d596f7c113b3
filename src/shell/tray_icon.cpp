#include "shell/tray_icon.h"

namespace grimsweep {

std::string FitTrayTip(const std::string& tip) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < tip.size(); ++i) {
        const auto byte = static_cast<unsigned char>(tip[i]);
        if ((byte & 0xC0) != 0x80) { // the first byte of a character
            if (characters == kTrayTipCharacters) {
                return tip.substr(0, i);
            }
            ++characters;
        }
    }
    return tip;
}

NotifyIconRequest TrayIcon::RequestFor(const ui::Form& window, const std::string& tip) const {
    NotifyIconRequest request;
    request.window = window.hostHandle;
    request.callbackMessage = kTrayCallbackMessage;
    request.iconResource =
        window.IconResource().empty() ? std::string(kWindowIconResource) : window.IconResource();
    request.tip = FitTrayTip(tip);
    return request;
}

void TrayIcon::ShowIcon(const ui::Form& window) {
    last_ = RequestFor(window, window.Caption());
    shell_.NotifyIcon(NotifyIconAction::Add, last_);
    bRunningInTray = true;
}

void TrayIcon::RemoveIcon(const ui::Form& window) {
    last_ = RequestFor(window, "");
    shell_.NotifyIcon(NotifyIconAction::Delete, last_);
    bRunningInTray = false;
}

void TrayIcon::ChangeToolTip(const ui::Form&, const std::string& tip) {
    if (!bRunningInTray) {
        return;
    }
    last_.tip = FitTrayTip(tip);
    shell_.NotifyIcon(NotifyIconAction::Modify, last_);
}

} // namespace grimsweep
