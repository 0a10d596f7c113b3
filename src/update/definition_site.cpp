#include "update/definition_site.h"

#include "common/percent_encoding.h"
#include "update/definition_service.h"
#include "update/definition_signing.h"
#include "update/service_dates.h"

namespace grimsweep {

namespace {

// A page path as an nginx regular expression that matches it in any case (as the service does).
std::string PageRegex(std::string_view page) {
    std::string regex = "~* ^";
    for (char c : page) {
        if (c == '.') {
            regex += '\\';
        }
        regex += c;
    }
    return regex + "$";
}

} // namespace

std::string SiteRecordsFile(std::string_view dateText) {
    return "records/" + PercentEncode(dateText) + ".txt";
}

std::vector<SiteFile> RenderSiteContent(const ServiceFolder& folder) {
    const std::vector<Publication> publications = ReadPublications(folder.read(kPublishedFile).value_or(""));
    const std::string signatures = folder.read(kSignaturesFile).value_or("");
    const auto newest = NewestDate(publications);
    std::vector<SiteFile> files{
        {std::string(kSiteDateFile), newest ? UsDateTimeText(*newest) : std::string()},
        {std::string(kSiteAnyDateFile), AnyDateAnswer(publications, signatures)}};
    for (const LocalDateTime& date : PublicationDates(publications)) {
        files.push_back(
            {SiteRecordsFile(UsDateTimeText(date)), RecordsAnswer(publications, signatures, date)});
    }
    if (auto languages = folder.read(kLocalizationFile)) {
        files.push_back({std::string(kLocalizationFile), std::move(*languages)});
    }
    return files;
}

std::string NginxConfig(int port) {
    // SiteRecordsFile's name, with the date nginx takes from the query.
    const std::string records = "records/$records_date.txt";
    return "# The Grimsweep definition service, rendered by gsdefs site. Start it with\n"
           "#   nginx -p SITE -c nginx.conf\n"
           "# (relative paths below are under SITE). gsdefs site replaces the content behind \"current\" in\n"
           "# one step; nginx needs a reload (nginx -p SITE -c nginx.conf -s reload) only when this file\n"
           "# changed.\n"
           "worker_processes auto;\n"
           "worker_rlimit_nofile 16384;\n"
           "pid logs/nginx.pid;\n"
           "error_log logs/error.log warn;\n"
           "\n"
           "events {\n"
           "    worker_connections 8192;\n"
           "}\n"
           "\n"
           "http {\n"
           "    default_type text/plain;\n"
           "    types {\n"
           "        text/plain txt;\n"
           "        text/xml xml;\n"
           "    }\n"
           "    server_tokens off;\n"
           "    access_log off;\n"
           "    sendfile on;\n"
           "    # A request head must arrive within 5 s, and an idle connection closes after 5 s.\n"
           "    client_header_timeout 5s;\n"
           "    client_body_timeout 5s;\n"
           "    send_timeout 10s;\n"
           "    keepalive_timeout 5s;\n"
           "    client_max_body_size 1k;\n"
           "    # A submission's query may be as long as the request head the service reads.\n"
           "    large_client_header_buffers 4 " +
           std::to_string(kMaxRequestBytes / 1024) +
           "k;\n"
           "    client_body_temp_path temp/body;\n"
           "    proxy_temp_path temp/proxy;\n"
           "    fastcgi_temp_path temp/fastcgi;\n"
           "    uwsgi_temp_path temp/uwsgi;\n"
           "    scgi_temp_path temp/scgi;\n"
           "    # Each submission's query, one a line.\n"
           "    log_format submission '$args';\n"
           "    # The client's date as its query carries it, percent-encoded; anything else is a date the\n"
           "    # site cannot place.\n"
           "    map $arg_date $records_date {\n"
           "        \"~^[0-9A-Za-z%]+$\" $arg_date;\n"
           "        default \"\";\n"
           "    }\n"
           "\n"
           "    server {\n"
           "        listen 127.0.0.1:" +
           std::to_string(port) +
           ";\n"
           "        root current;\n"
           "        # The answers change with every publication: caches ask again each time.\n"
           "        add_header Cache-Control no-cache;\n"
           "\n"
           "        location " +
           PageRegex(kCurrentDatePage) + " {\n            try_files /" + std::string(kSiteDateFile) +
           " =404;\n        }\n"
           "        location " +
           PageRegex(kDatePage) + " {\n            try_files /" + std::string(kSiteDateFile) +
           " =404;\n        }\n"
           "        location " +
           PageRegex(kDefinitionsPage) + " {\n            try_files /" + records + " /" +
           std::string(kSiteAnyDateFile) +
           " =404;\n        }\n"
           "        location " +
           PageRegex(kDataPage) +
           " {\n"
           "            access_log logs/" +
           std::string(kDataLogFile) +
           " submission;\n"
           "            return 200 \"Added\";\n"
           "        }\n"
           "        location " +
           PageRegex(kLocalizationPage) + " {\n            try_files /" + std::string(kLocalizationFile) +
           " =404;\n        }\n"
           "        location / {\n"
           "            return 404 \"Not found\\n\";\n"
           "        }\n"
           "    }\n"
           "}\n";
}

} // namespace grimsweep
