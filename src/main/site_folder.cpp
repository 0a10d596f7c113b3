#include "main/site_folder.h"

#include <charconv>
#include <fstream>
#include <set>

namespace grimsweep {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kContentPrefix = "content-";

// The number of a content folder's name, or -1 for another name.
long ContentNumber(const fs::path& name) {
    const std::string text = name.filename().string();
    if (!text.starts_with(kContentPrefix)) {
        return -1;
    }
    long number = -1;
    const char* first = text.data() + kContentPrefix.size();
    const auto [end, error] = std::from_chars(first, text.data() + text.size(), number);
    return error == std::errc() && end == text.data() + text.size() ? number : -1;
}

bool WriteFile(const fs::path& path, const std::string& text) {
    std::error_code ignored;
    fs::create_directories(path.parent_path(), ignored);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    return static_cast<bool>(out.flush());
}

} // namespace

bool ReplaceSite(const fs::path& site, const std::vector<SiteFile>& files, const std::string& configName,
                 const std::string& config, std::string& error) {
    std::error_code failure;
    const fs::path link = site / std::string(kSiteContentLink);
    for (const char* folder : {"logs", "temp"}) {
        fs::create_directories(site / folder, failure);
        if (failure) {
            error =
                "cannot make " + (site / folder).string() + ": " + failure.message() + "; no site rendered";
            return false;
        }
    }
    if (fs::exists(fs::symlink_status(link)) && !fs::is_symlink(fs::symlink_status(link))) {
        error = link.string() + " is no link made by gsdefs site; the site stays as it was";
        return false;
    }
    // The content clients read now is never written over: the new one gets a number past every folder's.
    const fs::path before =
        fs::is_symlink(fs::symlink_status(link)) ? fs::read_symlink(link, failure) : fs::path();
    long newest = std::max(0L, ContentNumber(before));
    for (const auto& entry : fs::directory_iterator(site, failure)) {
        newest = std::max(newest, ContentNumber(entry.path()));
    }
    if (failure) {
        error = "cannot list " + site.string() + ": " + failure.message() + "; the site stays as it was";
        return false;
    }
    const std::string contentName = std::string(kContentPrefix) + std::to_string(newest + 1);
    const fs::path content = site / contentName;
    const fs::path configPath = site / configName;
    const fs::path pendingConfig = configPath.string() + ".new";
    const auto giveUp = [&](std::string why) {
        error = std::move(why) + "; the site stays as it was";
        std::error_code ignored;
        fs::remove(pendingConfig, ignored);
        fs::remove_all(content, ignored);
        return false;
    };
    for (const SiteFile& file : files) {
        if (!WriteFile(content / fs::path(file.path), file.text)) {
            return giveUp("cannot write " + (content / fs::path(file.path)).string());
        }
    }
    if (!WriteFile(pendingConfig, config)) {
        return giveUp("cannot write " + pendingConfig.string());
    }
    // The link is made beside its place and renamed over it: one step for every reader.
    const fs::path pendingLink = site / (std::string(kSiteContentLink) + ".new");
    fs::remove(pendingLink, failure);
    fs::create_directory_symlink(contentName, pendingLink, failure);
    if (!failure) {
        fs::rename(pendingLink, link, failure);
    }
    if (failure) {
        const std::string why =
            "cannot turn " + link.string() + " to " + contentName + ": " + failure.message();
        fs::remove(pendingLink, failure);
        return giveUp(why);
    }
    fs::rename(pendingConfig, configPath, failure);
    if (failure) {
        error = "the new content is served, but " + configPath.string() +
                " could not be replaced: " + failure.message();
        return false;
    }
    // Requests that began before the turn may still read the previous content; anything older goes.
    const std::set<std::string> kept{contentName, before.filename().string()};
    std::vector<fs::path> stale;
    for (const auto& entry : fs::directory_iterator(site, failure)) {
        if (ContentNumber(entry.path()) >= 0 && !kept.contains(entry.path().filename().string())) {
            stale.push_back(entry.path());
        }
    }
    for (const fs::path& path : stale) {
        fs::remove_all(path, failure);
    }
    return true;
}

} // namespace grimsweep
