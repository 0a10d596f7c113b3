// The address list: Shift and a press on a Live Update button show where the definition pages lie on
// the brand's website (the version pages and the definition files), so that a brand's webmaster can
// check them by hand. Nothing is fetched.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ui/control.h"

namespace grimsweep {

class Context;

// The website value a brand built from the branding kit carries until it is given its own.
inline constexpr std::string_view kBrandingPlaceholderDomain = "your-website.example";
// Our own website: the definition pages of an unbranded build are there.
inline constexpr std::string_view kVendorWebsite = "http://www.lanternfish-software.example";

// The pages under the website, in the order the list shows them.
inline constexpr std::string_view kDefinitionPagePaths[] = {
    "/definitions/version/R.HTM",           "/definitions/version/F.HTM",
    "/definitions/version/E.HTM",           "/definitions/version/C.HTM",
    "/definitions/data/BlockedCookies.dat", "/definitions/data/RegistryDefinition.dat",
    "/definitions/data/FileDefinition.dat", "/definitions/data/ExeDefinition.dat",
};

// The website the pages lie on, from the brand's website value: ours while the value is empty or still
// the placeholder; otherwise "http://www." + the host, whatever scheme and path the value carried
// ("www." only when the value has none).
std::string DefinitionWebsite(std::string_view brandWebsite);
// The addresses of the pages, in lower case: the branding has no switch for upper case or for an
// address of its own.
std::vector<std::string> DefinitionAddresses(std::string_view brandWebsite);

// Shows the addresses, one per line, in one box with OK only.
void ShowDefinitionAddresses(Context& context);
// The mouse-down handler of a Live Update button: Shift and a press of any mouse button show the
// addresses and take the press, so no update starts; any other press goes on to the button.
ui::PressOutcome ShowAddressesOnShiftPress(Context& context, const ui::MouseDown& press);

} // namespace grimsweep
