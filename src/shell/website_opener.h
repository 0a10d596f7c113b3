// The website opener: an invisible window that opens the page named by the program's page selector in
// the user's browser and closes itself a second later.
#pragma once

#include <functional>
#include <string>

#include "ui/form.h"

namespace grimsweep {

class Context;

inline constexpr std::string_view kWebsitePage = "Website";

// The address with "http://" in front unless it already names http:// or https://.
std::string WebAddress(const std::string& address);

class WebsiteOpener {
public:
    explicit WebsiteOpener(Context& context);

    // Loads the window, which opens the page (kWebsitePage: the brand website).
    void Open(std::string_view page);
    ui::Form& Window() { return form_; }
    // Runs once the window has unloaded itself.
    std::function<void()> onClosed;

private:
    void OnLoad();

    Context& context_;
    // The page the window opens when it loads; cleared once opened.
    std::string page_;
    ui::Form form_;
};

} // namespace grimsweep
