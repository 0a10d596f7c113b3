#include "shell/website_opener.h"

#include "common/text.h"
#include "core/context.h"

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

WebsiteOpener::WebsiteOpener(Context& context) : context_(context), form_(context.host, "frmWebsite") {
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

void WebsiteOpener::Open(std::string_view page) {
    page_ = std::string(page);
    form_.Load();
}

void WebsiteOpener::OnLoad() {
    context_.brand = LoadBrandValues(context_.machine.system);
    if (page_ == kWebsitePage) {
        context_.machine.shell.OpenWithDefaultHandler(WebAddress(context_.brand.website), "");
        page_.clear();
    }
    form_.Get("tmrClose").SetEnabled(true);
}

} // namespace grimsweep
