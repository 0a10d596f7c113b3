// The window frmHomePageChangedAlert: tells that the browser's start page has changed and asks which
// page to keep. Yes keeps the protected page, No takes the new one. It stays above every other window,
// so that it reaches the user while the main window sits in the tray.
#pragma once

#include <functional>
#include <string>

#include "shell/skin.h"
#include "ui/form.h"

namespace grimsweep {

class Context;

inline constexpr std::string_view kStartPageAlertName = "frmHomePageChangedAlert";
inline constexpr std::string_view kStartPageAlertInfo = "lblHomePageInfo";

// The question the alert asks, with the protected and the new start page.
std::string StartPageQuestion(const std::string& programName, const std::string& protectedPage,
                              const std::string& currentPage);

class StartPageAlert {
public:
    StartPageAlert(Context& context, const Skin& skin);

    ui::Form& Window() { return form_; }
    // Shows the question and waits, modally, until the window closes.
    void Ask(const std::string& question);

    // The answers; each closes the window afterwards.
    std::function<void()> onYes;
    std::function<void()> onNo;

private:
    void OnLoad();
    void Answer(const std::function<void()>& answer);

    Context& context_;
    const Skin& skin_;
    ui::Form form_;
};

} // namespace grimsweep
