// The About window: the program's name, maker, version and website, which opens in the browser.
#pragma once

#include <functional>

#include "shell/skin.h"
#include "ui/form.h"

namespace grimsweep {

class Context;

class AboutWindow {
public:
    // `openWebsite` opens the brand website (through the website opener).
    AboutWindow(Context& context, const Skin& skin, std::function<void()> openWebsite);

    // Shows the window modally, centred over `owner` (the main window).
    void Show(const ui::Form& owner);
    ui::Form& Window() { return form_; }

private:
    void OnLoad();

    Context& context_;
    const Skin& skin_;
    std::function<void()> openWebsite_;
    ui::Form form_;
};

} // namespace grimsweep
