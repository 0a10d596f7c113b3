// The notice frmSignatureUpdated that tells how a Live Update ended: it slides up above the taskbar at
// the bottom right of the screen (20 twips every 10 ms), rests for seven seconds, slides down (40 twips
// every 10 ms) and closes; OK closes it at once and stores "SHOW" = "false".
#pragma once

#include <functional>

#include "shell/skin.h"
#include "ui/form.h"

namespace grimsweep {

class Context;

inline constexpr std::string_view kUpdateNoticeName = "frmSignatureUpdated";
inline constexpr int kSlideInterval = 10;
inline constexpr int kDwellInterval = 7000;
inline constexpr int kSlideUpStep = 20;
inline constexpr int kSlideDownStep = 40;
// The top, in twips, past which the sliding-down notice closes, whatever the screen.
inline constexpr int kNoticeCloseTop = 11167;

class UpdateNotice {
public:
    UpdateNotice(Context& context, const Skin& skin);

    ui::Form& Window() { return form_; }
    // Loads and shows the notice without waiting, starts the slide-up, then shows the message.
    void Show(const std::string& message);
    int TargetTop() const { return targetTop_; }
    // OK also removes the download window's tray icon: the update is over.
    std::function<void()> onClosed;

private:
    void OnLoad();
    void SlideUp();
    void Dwell();
    void SlideDown();
    void Ok();
    ui::Control& Timer(std::string_view name) { return form_.Get(name); }

    Context& context_;
    const Skin& skin_;
    ui::Form form_;
    int targetTop_ = 0;
};

} // namespace grimsweep
