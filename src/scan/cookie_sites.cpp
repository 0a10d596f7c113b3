#include "scan/cookie_sites.h"

#include "common/case_folding.h"
#include "common/text.h"
#include "core/file_presence.h"

namespace grimsweep {
namespace {

// The text without its last dot-separated label; unchanged when it has no dot.
std::string_view DropLastLabel(std::string_view text) {
    const auto dot = text.rfind('.');
    return dot == std::string_view::npos ? text : text.substr(0, dot);
}

bool EndsField(char c) {
    return c == ',' || c == '\r' || c == '\n';
}

} // namespace

std::string SiteOfCookieName(std::string_view path) {
    const auto at = path.find('@');
    if (at == std::string_view::npos) {
        return {};
    }
    auto site = path.substr(at + 1);
    auto cut = site.find('(');
    if (cut == std::string_view::npos) {
        cut = site.find('[');
    }
    if (cut == std::string_view::npos) {
        cut = site.rfind('.');
    }
    return std::string(site.substr(0, cut));
}

std::string CookieSite(IFileSystem& files, const std::string& path) {
    const auto name = SiteOfCookieName(path);
    if (name.empty() || !FileExists(files, path)) {
        return std::string(kNoCookieSite);
    }
    // One byte more than the limit tells a file at the limit from a larger one.
    const auto bytes = files.ReadRange(path, 0, kLargestCookieFile + 1);
    if (!bytes || bytes->size() > kLargestCookieFile) {
        return std::string(kNoCookieSite);
    }
    const std::string_view text(*bytes);
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = start;
        while (end < text.size() && !EndsField(text[end])) {
            ++end;
        }
        const auto field = text.substr(start, end - start);
        if (const auto hit = field.find(name); hit != std::string_view::npos) {
            const auto fromName = field.substr(hit);
            if (const auto slash = fromName.find('/'); slash != std::string_view::npos) {
                return std::string(fromName.substr(0, slash));
            }
        }
        start = end + 1;
    }
    return std::string(kNoCookieSite);
}

std::string TrimCookieSite(std::string_view site) {
    site = DropLastLabel(site);
    if (StartsWithIgnoreCase(site, "www.")) {
        site.remove_prefix(4);
    }
    return std::string(site);
}

bool IsBlockedSite(const std::vector<std::string>& blockedSites, std::string_view site) {
    for (const auto& entry : blockedSites) {
        if (entry.find(site) == std::string::npos) {
            continue;
        }
        std::string candidate(DropLastLabel(entry));
        if (const auto star = candidate.find('*'); star != std::string::npos) {
            candidate.erase(star, 1);
        }
        if (EqualsFolded(candidate, site)) {
            return true;
        }
    }
    return false;
}

} // namespace grimsweep
