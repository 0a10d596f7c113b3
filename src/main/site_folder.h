// The folder a web server serves the definition site from: the content in a numbered folder
// ("content-N") that the link "current" points to, the server's configuration, and its logs.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "update/definition_site.h"

namespace grimsweep {

inline constexpr std::string_view kSiteContentLink = "current";

// Writes `files` into a new content folder under `site` and then turns "current" to it with one rename,
// so that a request sees the old site or the new one, never a mix; the content before is kept for the
// requests still reading it and older ones are removed. `config` becomes `configName` (whole or not at
// all). False, with `error` saying why and what became of the site, when anything could not be written.
bool ReplaceSite(const std::filesystem::path& site, const std::vector<SiteFile>& files,
                 const std::string& configName, const std::string& config, std::string& error);

} // namespace grimsweep
