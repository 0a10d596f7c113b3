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
            error = "cannot make " + (site / folder).string() + ": " + failure.message();
            return false;
        }
    }
    if (fs::exists(fs::symlink_status(link)) && !fs::is_symlink(fs::symlink_status(link))) {
        error = link.string() + " is no link made by gsdefs site; it is left as it is";
        return false;
    }
    long newest = 0;
    for (const auto& entry : fs::directory_iterator(site, failure)) {
        newest = std::max(newest, ContentNumber(entry.path()));
    }
    const std::string contentName = std::string(kContentPrefix) + std::to_string(newest + 1);
    const fs::path content = site / contentName;
    fs::remove_all(content, failure);
    for (const SiteFile& file : files) {
        if (!WriteFile(content / fs::path(file.path), file.text)) {
            error = "cannot write " + (content / fs::path(file.path)).string();
            fs::remove_all(content, failure);
            return false;
        }
    }
    const fs::path configPath = site / configName;
    if (!WriteFile(fs::path(configPath.string() + ".new"), config)) {
        error = "cannot write " + configPath.string();
        fs::remove_all(content, failure);
        return false;
    }
    fs::rename(configPath.string() + ".new", configPath, failure);
    // The link is made beside its place and renamed over it: one step for every reader.
    const fs::path before =
        fs::is_symlink(fs::symlink_status(link)) ? fs::read_symlink(link, failure) : fs::path();
    const fs::path pendingLink = site / (std::string(kSiteContentLink) + ".new");
    fs::remove(pendingLink, failure);
    fs::create_directory_symlink(contentName, pendingLink, failure);
    if (!failure) {
        fs::rename(pendingLink, link, failure);
    }
    if (failure) {
        error = "cannot turn " + link.string() + " to " + contentName + ": " + failure.message();
        fs::remove(pendingLink, failure);
        fs::remove_all(content, failure);
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
