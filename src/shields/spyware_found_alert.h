// The memory alert frmSpywareFoundAlert: names a listed program that has just started and offers STOP
// and ALLOW. It is top-most, so that it reaches the user while the main window sits in the tray, and it
// stays loaded between alerts.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "shell/skin.h"
#include "ui/form.h"

namespace grimsweep {

class Context;

inline constexpr std::string_view kSpywareFoundAlertName = "frmSpywareFoundAlert";

class SpywareFoundAlert {
public:
    SpywareFoundAlert(Context& context, const Skin& skin);

    ui::Form& Window() { return form_; }
    // Fills the company and file name fields and shows the window without waiting.
    void Show(const std::string& companyText, const std::string& fileName);
    void Close() { form_.Hide(); }
    // The file name field, trimmed, as the answers use it.
    std::string FileName() const;

    std::function<void()> onStop;    // cmdYes, "STOP"
    std::function<void()> onAllow;   // cmdNO, "ALLOW"
    std::function<void()> onDismiss; // the close box: no answer

private:
    Context& context_;
    const Skin& skin_;
    ui::Form form_;
};

} // namespace grimsweep
