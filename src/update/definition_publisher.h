// The local definition service behind "gsdefs publish" and "gsdefs serve": update records published
// under a date into a store file, and the answers of the service's pages from that store. No sockets
// here; the tool reads and writes the folder through ServiceFolder.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/system.h"

namespace grimsweep {

// The store: one line per record, the publication date (US form), a tab, and the record as sent.
inline constexpr std::string_view kPublishedFile = "published.txt";
inline constexpr std::string_view kDataLogFile = "getData.log";
inline constexpr std::string_view kLocalizationPage = "/Languages/21/Localization.xml";
inline constexpr std::string_view kLocalizationFile = "Localization.xml";
inline constexpr std::string_view kDataPage = "/asp/getData.asp";
// The longest request head the service reads.
inline constexpr std::size_t kMaxRequestBytes = 16 * 1024;

// A plain record "KIND|ACTION|BODY" in the form the service sends: the kind encoded, the action plain
// after a "|", "[DEF]", and the body encoded except for its "|" and "=". Nothing when the kind or body
// is empty, the action is not ADD or DEL, or the line holds a control byte other than a tab.
std::optional<std::string> WireRecord(std::string_view plainLine);

struct Publication {
    LocalDateTime date;
    std::string record;
};

// The store lines for the plain records in `plainLines` (one a line, blank lines skipped) published on
// `dateText`. Nothing, with `error` saying why, for a bad date or any bad line.
std::optional<std::string> PublicationLines(std::string_view dateText, std::string_view plainLines,
                                            std::string& error);

// The publications of a store text in store order; lines that do not parse are left out.
std::vector<Publication> ReadPublications(std::string_view storeText);
std::optional<LocalDateTime> NewestDate(const std::vector<Publication>& publications);
// The records published strictly after `after`, in store order, joined by "[BR]".
std::string RecordsAfter(const std::vector<Publication>& publications, const LocalDateTime& after);

// The folder the service answers from, by file name.
struct ServiceFolder {
    std::function<std::optional<std::string>(std::string_view name)> read;
    std::function<bool(std::string_view name, std::string_view text)> append;
    // A text that changes whenever a file the answers come from changes (may be empty: no such text).
    std::function<std::string()> version;
};

struct PageAnswer {
    int status = 200;
    std::string body;
    std::string contentType = "text/plain";
};

// The target of an HTTP GET request head ("GET target HTTP/1.x"; the target may hold blanks, as the
// definitions date does); nothing for another method or a malformed request line.
std::optional<std::string> RequestTarget(std::string_view head);
// The answer to the page and query of `target`.
PageAnswer AnswerPage(const ServiceFolder& folder, std::string_view target);
// The whole HTTP response for an answer: status line, Content-Type, Content-Length, Connection: close.
std::string ResponseText(const PageAnswer& answer);

} // namespace grimsweep
