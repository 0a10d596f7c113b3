#include "update/definition_addresses.h"

#include "common/text.h"
#include "core/context.h"
#include "platform/text_files.h"

namespace grimsweep {

namespace {
constexpr std::string_view kHttp = "http://";
constexpr std::string_view kHttps = "https://";
constexpr std::string_view kWww = "www.";
} // namespace

std::string DefinitionWebsite(std::string_view brandWebsite) {
    const std::string value = Trim(brandWebsite);
    if (value.empty() || ContainsIgnoreCase(value, kBrandingPlaceholderDomain)) {
        return std::string(kVendorWebsite);
    }
    // The pages are always asked for over plain HTTP: a secure scheme goes as well.
    std::string host = ReplaceAllIgnoreCase(ReplaceAllIgnoreCase(value, kHttps, ""), kHttp, "");
    host = host.substr(0, host.find('/'));
    if (!ContainsIgnoreCase(host, kWww)) {
        host.insert(0, kWww);
    }
    return std::string(kHttp) + host;
}

std::vector<std::string> DefinitionAddresses(std::string_view brandWebsite) {
    const std::string website = ToLower(DefinitionWebsite(brandWebsite));
    std::vector<std::string> addresses;
    for (std::string_view path : kDefinitionPagePaths) {
        addresses.push_back(website + ToLower(path));
    }
    return addresses;
}

void ShowDefinitionAddresses(Context& context) {
    std::string text;
    for (const std::string& address : DefinitionAddresses(context.brand.website)) {
        if (!text.empty()) {
            text += kCrLf;
        }
        text += address;
    }
    context.host.ShowMessageBox(
        {text, context.brand.programName, MessageBoxButtons::Ok, MessageBoxIcon::None});
}

ui::PressOutcome ShowAddressesOnShiftPress(Context& context, const ui::MouseDown& press) {
    if (!press.shift) {
        return ui::PressOutcome::PassOn;
    }
    ShowDefinitionAddresses(context);
    return ui::PressOutcome::Taken;
}

} // namespace grimsweep
