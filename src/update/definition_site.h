// The definition service as a static site for an ordinary web server: every answer the service gives,
// rendered as files, and the nginx configuration that maps the service's pages and queries to them.
// A client's records answer depends on its definitions date; the site holds one file per publication
// date (the dates clients store) and one for any other date.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "update/definition_publisher.h"

namespace grimsweep {

// Under the content root.
inline constexpr std::string_view kSiteDateFile = "current-date.txt";
inline constexpr std::string_view kSiteAnyDateFile = "records/any-date.txt";

struct SiteFile {
    std::string path; // relative to the content root, "/" between folders
    std::string text;
};

// The records file for a client whose definitions date reads `dateText`: named by the date as the
// client's query carries it (percent-encoded), so that the web server finds it without decoding.
std::string SiteRecordsFile(std::string_view dateText);

// Every file of the site for the store, signatures and language file of `folder`.
std::vector<SiteFile> RenderSiteContent(const ServiceFolder& folder);

// The nginx configuration for a site whose content lies in "current" under nginx's prefix, listening on
// 127.0.0.1:`port`; submissions go to "logs/getData.log".
std::string NginxConfig(int port);

} // namespace grimsweep
