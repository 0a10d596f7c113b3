// Any cookie file name and text (split at the first NUL): the site is found without a crash, and what is
// found is a piece of the name or of the text that the blocked-site test can take.
#include "fuzz_support.h"
#include "platform/sim/sim_file_system.h"
#include "scan/cookie_sites.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace grimsweep;
    const auto input = fuzz::AsText(data, size);
    const auto split = input.find('\0');
    const std::string name(input.substr(0, split));
    const std::string text(split == std::string_view::npos ? std::string_view() : input.substr(split + 1));

    const auto nameSite = SiteOfCookieName(name);
    fuzz::Require(name.find(nameSite) != std::string::npos, "the name's site is not part of the name");

    sim::SimFileSystem files;
    const std::string path = "C:\\Cookies\\" + name;
    files.PutFile(path, text);
    const auto site = CookieSite(files, path);
    if (site != kNoCookieSite) {
        // The site runs from the name's site to the next "/", which may lie inside the name's site.
        const auto slash = nameSite.find('/');
        fuzz::Require(!nameSite.empty() && (slash == std::string::npos ? site.starts_with(nameSite)
                                                                       : site == nameSite.substr(0, slash)),
                      "the site does not start with the name's");
        fuzz::Require(site.find_first_of("/,\r\n") == std::string::npos, "the site runs past its field");
        fuzz::Require(text.find(site + "/") != std::string::npos, "the site is not in the text");
    }
    const auto trimmed = TrimCookieSite(site);
    fuzz::Require(site.find(trimmed) != std::string::npos, "trimming added text");
    IsBlockedSite({text, name, "*" + trimmed + ".com"}, trimmed);
    return 0;
}
