// The website opener: an invisible window that opens the page named by the program's page selector in
// the user's browser and closes itself a second later.
#pragma once

#include <functional>
#include <string>

#include "ui/form.h"

namespace grimsweep {

class Program;

inline constexpr std::string_view kWebsitePage = "Website";

// The address with "http://" in front unless it already names http:// or https://.
std::string WebAddress(const std::string& address);

class WebsiteOpener {
public:
    explicit WebsiteOpener(Program& program);

    // Loads the window, which opens the selected page.
    void Open();
    ui::Form& Window() { return form_; }
    // Runs once the window has unloaded itself.
    std::function<void()> onClosed;

private:
    void OnLoad();

    Program& program_;
    ui::Form form_;
};

} // namespace grimsweep
