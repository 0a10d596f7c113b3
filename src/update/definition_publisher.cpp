#include "update/definition_publisher.h"

#include "common/text.h"
#include "definitions/line_code.h"
#include "update/definition_service.h"
#include "update/definition_signing.h"
#include "update/service_dates.h"
#include "update/update_records.h"

namespace grimsweep {

namespace {

// The plain bytes a record may hold: text and tabs. Their encoded forms never hold a tab, CR or LF, so
// a record stays on its store line.
bool PlainText(std::string_view text) {
    for (unsigned char c : text) {
        if (c < 0x20 && c != '\t') {
            return false;
        }
    }
    return true;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    const char lower = ToLowerAscii(c);
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

// A query value with its %XX escapes and "+" turned back into bytes.
std::string DecodeQueryValue(std::string_view value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '%' && i + 2 < value.size() && HexDigit(value[i + 1]) >= 0 &&
            HexDigit(value[i + 2]) >= 0) {
            out += static_cast<char>(HexDigit(value[i + 1]) * 16 + HexDigit(value[i + 2]));
            i += 2;
        } else {
            out += value[i] == '+' ? ' ' : value[i];
        }
    }
    return out;
}

// The raw value of `name` in a query ("a=1&b=2"), names compared without regard to case.
std::optional<std::string_view> QueryValue(std::string_view query, std::string_view name) {
    std::size_t start = 0;
    while (start <= query.size()) {
        std::size_t end = query.find('&', start);
        if (end == std::string_view::npos) {
            end = query.size();
        }
        const std::string_view pair = query.substr(start, end - start);
        const std::size_t equals = pair.find('=');
        if (equals != std::string_view::npos && EqualsIgnoreCase(pair.substr(0, equals), name)) {
            return pair.substr(equals + 1);
        }
        start = end + 1;
    }
    return std::nullopt;
}

PageAnswer NotFound() {
    return {404, "Not found\n", "text/plain"};
}

std::string NewestDateText(const ServiceFolder& folder) {
    const auto newest = NewestDate(ReadPublications(folder.read(kPublishedFile).value_or("")));
    return newest ? UsDateTimeText(*newest) : std::string();
}

const char* ReasonPhrase(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 400:
        return "Bad Request";
    case 404:
        return "Not Found";
    default:
        return "Internal Server Error";
    }
}

// The first character of the kind or the body whose code is one of the plain separators "|" and "="
// ("@" and DEL): the client would take it for a separator and store the record wrongly.
std::optional<char> SeparatorClash(std::string_view plainLine) {
    const std::size_t kindEnd = plainLine.find('|');
    const std::size_t actionEnd =
        kindEnd == std::string_view::npos ? kindEnd : plainLine.find('|', kindEnd + 1);
    for (std::size_t i = 0; i < plainLine.size(); ++i) {
        if (i >= kindEnd && i <= actionEnd) {
            continue; // the action and its bars go plain
        }
        const char c = plainLine[i];
        const char code = EncodeDefinitionLine(std::string_view(&c, 1)).front();
        if (c != '|' && c != '=' && (code == '|' || code == '=')) {
            return c;
        }
    }
    return std::nullopt;
}

// The character whose code is a blank.
constexpr char kTrimmedAtTheEnds = '#';

// A character as an error message shows it: DEL, which a terminal does not show, by name and code.
std::string CharacterName(char c) {
    return c == '\x7F' ? std::string("DEL (0x7F)") : "\"" + std::string(1, c) + "\"";
}

} // namespace

std::optional<std::string> WireRecord(std::string_view plainLine) {
    const std::size_t kindEnd = plainLine.find('|');
    if (kindEnd == 0 || kindEnd == std::string_view::npos || !PlainText(plainLine)) {
        return std::nullopt;
    }
    const std::size_t actionEnd = plainLine.find('|', kindEnd + 1);
    if (actionEnd == std::string_view::npos || actionEnd + 1 == plainLine.size()) {
        return std::nullopt;
    }
    const std::string_view action = plainLine.substr(kindEnd + 1, actionEnd - kindEnd - 1);
    if (action != kActionAdd && action != kActionDelete) {
        return std::nullopt;
    }
    return EncodeDefinitionLine(plainLine.substr(0, kindEnd)) + "|" + std::string(action) +
           std::string(kDefinitionMarker) + EncodeRecordBody(plainLine.substr(actionEnd + 1));
}

std::optional<std::string> PublicationLines(std::string_view dateText, std::string_view plainLines,
                                            std::string& error) {
    const auto date = ParseUsDateTime(dateText);
    if (!date) {
        error = "not a date: " + std::string(dateText);
        return std::nullopt;
    }
    const std::string dateField = UsDateTimeText(*date) + "\t";
    std::string lines;
    int lineNumber = 0;
    for (const std::string& raw : Split(plainLines, "\n")) {
        ++lineNumber;
        std::string_view line = raw;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (Trim(line).empty()) {
            continue;
        }
        if (const auto clash = SeparatorClash(line)) {
            error = "line " + std::to_string(lineNumber) + " holds " + CharacterName(*clash) +
                    ", which would travel as the record separator \"" +
                    EncodeDefinitionLine(std::string_view(&*clash, 1)) + "\": the service cannot send it";
            return std::nullopt;
        }
        // "#" travels as a blank, and the client trims each record: at either end it would be lost.
        if (line.front() == kTrimmedAtTheEnds || line.back() == kTrimmedAtTheEnds) {
            error = "line " + std::to_string(lineNumber) +
                    " starts or ends with \"#\", which travels as a blank " +
                    "that the client trims: the service cannot send it";
            return std::nullopt;
        }
        const auto record = WireRecord(line);
        if (!record) {
            error = "line " + std::to_string(lineNumber) + " is not KIND|ADD|BODY or KIND|DEL|BODY";
            return std::nullopt;
        }
        lines += dateField + *record + "\n";
    }
    return lines;
}

std::vector<Publication> ReadPublications(std::string_view storeText) {
    std::vector<Publication> publications;
    for (const std::string& line : Split(storeText, "\n")) {
        const std::size_t tab = line.find('\t');
        if (tab == std::string::npos) {
            continue;
        }
        const auto date = ParseUsDateTime(std::string_view(line).substr(0, tab));
        if (date) {
            publications.push_back({*date, line.substr(tab + 1)});
        }
    }
    return publications;
}

std::optional<LocalDateTime> NewestDate(const std::vector<Publication>& publications) {
    std::optional<LocalDateTime> newest;
    for (const Publication& publication : publications) {
        if (!newest || Later(publication.date, *newest)) {
            newest = publication.date;
        }
    }
    return newest;
}

std::string RecordsAfter(const std::vector<Publication>& publications, const LocalDateTime& after) {
    std::string text;
    for (const Publication& publication : publications) {
        if (Later(publication.date, after)) {
            if (!text.empty()) {
                text += kRecordSeparator;
            }
            text += publication.record;
        }
    }
    return text;
}

std::optional<std::string> RequestTarget(std::string_view head) {
    std::string_view line = head.substr(0, head.find('\n'));
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    const std::size_t methodEnd = line.find(' ');
    const std::size_t versionStart = line.rfind(' ');
    if (methodEnd == std::string_view::npos || line.substr(0, methodEnd) != "GET" ||
        versionStart <= methodEnd + 1 || !line.substr(versionStart + 1).starts_with("HTTP/")) {
        return std::nullopt;
    }
    return std::string(line.substr(methodEnd + 1, versionStart - methodEnd - 1));
}

PageAnswer AnswerPage(const ServiceFolder& folder, std::string_view target) {
    const std::size_t question = target.find('?');
    const std::string_view path = target.substr(0, question);
    const std::string_view query =
        question == std::string_view::npos ? std::string_view() : target.substr(question + 1);
    if (EqualsIgnoreCase(path, kCurrentDatePage) || EqualsIgnoreCase(path, kDatePage)) {
        return {200, NewestDateText(folder)};
    }
    if (EqualsIgnoreCase(path, kDefinitionsPage)) {
        const auto value = QueryValue(query, "date");
        const auto after = value ? ParseUsDateTime(CleanServiceDate(DecodeQueryValue(*value))) : std::nullopt;
        if (!after) {
            return {400, "date missing or not a date\n"};
        }
        return {200, RecordsAnswer(ReadPublications(folder.read(kPublishedFile).value_or("")),
                                   folder.read(kSignaturesFile).value_or(""), *after)};
    }
    if (EqualsIgnoreCase(path, kDataPage)) {
        if (!folder.append(kDataLogFile, std::string(query) + "\n")) {
            return {500, "cannot write the log\n"};
        }
        return {200, "Added"};
    }
    if (EqualsIgnoreCase(path, kLocalizationPage)) {
        auto file = folder.read(kLocalizationFile);
        if (!file) {
            return NotFound();
        }
        return {200, std::move(*file), "text/xml"};
    }
    return NotFound();
}

std::string ResponseText(const PageAnswer& answer) {
    return "HTTP/1.1 " + std::to_string(answer.status) + " " + ReasonPhrase(answer.status) +
           "\r\nContent-Type: " + answer.contentType +
           "\r\nContent-Length: " + std::to_string(answer.body.size()) + "\r\nConnection: close\r\n\r\n" +
           answer.body;
}

} // namespace grimsweep
