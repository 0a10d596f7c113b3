// The program's icon in the notification area (clsTray). The icon sends its mouse messages to the owning
// window as that window's mouse-move message.
#pragma once

#include <string>

#include "core/brand_values.h"
#include "platform/shell.h"
#include "ui/form.h"

namespace grimsweep {

// The owning window's mouse-move message carries the icon's events.
inline constexpr unsigned kTrayCallbackMessage = 512;
// The tip field holds 64 characters with its terminating NUL.
inline constexpr std::size_t kTrayTipCharacters = 63;

// Mouse messages of the icon, as they arrive divided back out of the mouse position.
inline constexpr int kTrayLeftDown = 513;
inline constexpr int kTrayLeftDoubleClick = 515;
inline constexpr int kTrayRightDown = 516;
inline constexpr int kTrayRightDoubleClick = 518;

// The icon's mouse message out of the owning window's mouse-move position in twips, whatever the DPI.
inline int TrayMessageOfMouseX(int twips, double twipsPerPixel) {
    return static_cast<int>(twips / twipsPerPixel + 0.5);
}

class TrayIcon {
public:
    explicit TrayIcon(IShell& shell) : shell_(shell) {}

    // Adds the icon with the window's caption as tip.
    void ShowIcon(const ui::Form& window);
    // Deletes the icon.
    void RemoveIcon(const ui::Form& window);
    // Changes the tip, only while the icon is shown.
    void ChangeToolTip(const ui::Form& window, const std::string& tip);

    bool bRunningInTray = false;

private:
    NotifyIconRequest RequestFor(const ui::Form& window, const std::string& tip) const;

    IShell& shell_;
    NotifyIconRequest last_;
};

// The tip cut to the field, never inside a UTF-8 character.
std::string FitTrayTip(const std::string& tip);

} // namespace grimsweep
