// The tray popup frmMenuPopUp: slides up from the taskbar at the lower right with three commands, holds
// while the mouse moves over it, and slides back down by itself after six idle seconds.
#pragma once

#include <functional>

#include "shell/skin.h"
#include "ui/form.h"

namespace grimsweep {

class Context;

inline constexpr int kPopupSlideUpStep = 80;    // twips per tick
inline constexpr int kPopupSlideDownStep = 100; // twips per tick
inline constexpr int kPopupIdleTicks = 5;       // the sixth idle second starts the slide down
inline constexpr int kPopupMarginAboveBottom = 100;
inline constexpr int kPopupUnloadAboveBottom = 2000;

class TrayPopup {
public:
    // `mainWindow` is the window the popup shows or ends.
    TrayPopup(Context& context, const Skin& skin, ui::Form& mainWindow);

    // Loads the popup afresh and starts its slide up.
    void Show();
    ui::Form& Window() { return form_; }
    int IdleTicks() const { return lTimDown_; }
    int TargetTop() const { return targetTop_; }

    // "Close This Menu": the popup slides away.
    void CloseMenu();
    std::function<void()> onShowProgram; // restore the main window
    std::function<void()> onExitProgram; // end the program

private:
    void OnLoad();
    int ScreenHeight();

    Context& context_;
    const Skin& skin_;
    ui::Form& mainWindow_;
    ui::Form form_;
    int lTimDown_ = 0;
    int targetTop_ = 0;
};

} // namespace grimsweep
