#include "shell/website_opener.h"

#include "app/program.h"
#include "common/text.h"

namespace grimsweep {

namespace {
constexpr int kCloseAfterMilliseconds = 1000;
}

std::string WebAddress(const std::string& address) {
    if (ContainsIgnoreCase(address, "https://") || ContainsIgnoreCase(address, "http://")) {
        return address;
    }
    return "http://" + address;
}

WebsiteOpener::WebsiteOpener(Program& program) : program_(program), form_(program.host, "frmWebsite") {
    form_.Move(0, 0, 0, 0);
    form_.SetShowInTaskList(false);
    ui::Control& timer = form_.Add("tmrClose", ui::ControlType::Timer);
    timer.SetInterval(kCloseAfterMilliseconds);
    timer.onTimer = [this, &timer] {
        timer.SetEnabled(false);
        form_.Unload();
        if (onClosed) {
            onClosed();
        }
    };
    form_.onLoad = [this] { OnLoad(); };
}

void WebsiteOpener::Open() {
    form_.Load();
}

void WebsiteOpener::OnLoad() {
    program_.brand = LoadBrandValues(program_.machine.system);
    if (program_.websitePage == kWebsitePage) {
        program_.machine.shell.OpenWithDefaultHandler(WebAddress(program_.brand.website), "");
        program_.websitePage.clear();
    }
    form_.Get("tmrClose").SetEnabled(true);
}

} // namespace grimsweep
