#include "update/definition_signing.h"

#include <algorithm>

#include "common/hex_text.h"
#include "common/text.h"
#include "update/definition_signature.h"
#include "update/service_dates.h"

namespace grimsweep {

namespace {

constexpr std::string_view kKeyFileHeading =
    "; Grimsweep definition signing key (ECDSA P-256). Keep it secret: whoever holds it decides what the "
    "program removes.\n";

} // namespace

std::vector<LocalDateTime> PublicationDates(const std::vector<Publication>& publications) {
    std::vector<LocalDateTime> dates;
    for (const Publication& publication : publications) {
        dates.push_back(publication.date);
    }
    std::sort(dates.begin(), dates.end(), [](const auto& a, const auto& b) { return Later(b, a); });
    dates.erase(std::unique(dates.begin(), dates.end(),
                            [](const auto& a, const auto& b) { return !Later(a, b) && !Later(b, a); }),
                dates.end());
    return dates;
}

namespace {

// Every record when there is no date to count from.
std::string RecordsFrom(const std::vector<Publication>& publications,
                        const std::optional<LocalDateTime>& from) {
    return RecordsAfter(publications, from.value_or(LocalDateTime{0, 1, 1}));
}

// `records` with the signature the signatures file holds for answers counting from `from` (and, when
// `until` is set, up to it); the records alone when the file has none.
std::string WithStoredSignature(const std::string& records, std::string_view signaturesText,
                                const std::string& from, const std::optional<std::string>& until) {
    for (const std::string& line : Split(signaturesText, "\n")) {
        const std::vector<std::string> fields = Split(line, "\t");
        if (fields.size() != 4 || fields[0] != from || (until && fields[1] != *until)) {
            continue;
        }
        if (const auto signature = BytesOfHex(fields[3])) {
            return WithSignatureRecord(records, AnswerSpan{fields[0], fields[1], fields[2]}, *signature);
        }
    }
    return records;
}

} // namespace

std::string KeyFileText(const P256KeyPair& pair) {
    return std::string(kKeyFileHeading) + "private=" + HexText(pair.privateKey) +
           "\npublic=" + HexText(pair.publicKey) + "\n";
}

std::optional<P256KeyPair> ParseKeyFile(std::string_view text) {
    P256KeyPair pair;
    for (std::string line : Split(text, "\n")) {
        line = Trim(line.size() && line.back() == '\r' ? line.substr(0, line.size() - 1) : line);
        const std::size_t equals = line.find('=');
        if (line.empty() || line.front() == ';' || equals == std::string::npos) {
            continue;
        }
        const auto bytes = BytesOfHex(Trim(line.substr(equals + 1)));
        const std::string name = Trim(line.substr(0, equals));
        if (bytes && name == "private") {
            pair.privateKey = *bytes;
        } else if (bytes && name == "public") {
            pair.publicKey = *bytes;
        }
    }
    if (pair.privateKey.size() != kP256PrivateKeyBytes || pair.publicKey.size() != kP256PublicKeyBytes) {
        return std::nullopt;
    }
    return pair;
}

std::string DefinitionKeyLine(const P256KeyPair& pair) {
    return std::string(kDefinitionKeyName) + "=" + HexText(pair.publicKey);
}

std::optional<std::string> SignatureLines(const std::vector<Publication>& publications,
                                          ISignatures& signatures, const P256KeyPair& key) {
    const std::vector<LocalDateTime> dates = PublicationDates(publications);
    if (dates.empty()) {
        return std::string();
    }
    const std::string to = UsDateTimeText(dates.back());
    std::string lines;
    for (std::size_t i = 0; i <= dates.size(); ++i) {
        // i = 0: clients before the first publication; otherwise clients at or after dates[i - 1].
        const std::optional<LocalDateTime> from = i == 0 ? std::nullopt : std::optional(dates[i - 1]);
        const AnswerSpan span{from ? UsDateTimeText(*from) : std::string(),
                              i < dates.size() ? UsDateTimeText(dates[i]) : std::string(), to};
        const auto signature = signatures.Sign(key, SignedMessage(span, RecordsFrom(publications, from)));
        if (!signature) {
            return std::nullopt;
        }
        lines += span.from + "\t" + span.until + "\t" + span.to + "\t" + HexText(*signature) + "\n";
    }
    // Clients at a date the service cannot place (a static copy of the service answers from files named
    // by date): every record, for any date before the newest. Applying the whole history in order
    // brings such a client to the same definitions as the answers above.
    const AnswerSpan anyDate{std::string(), std::string(), to};
    const auto signature =
        signatures.Sign(key, SignedMessage(anyDate, RecordsFrom(publications, std::nullopt)));
    if (!signature) {
        return std::nullopt;
    }
    return lines + "\t\t" + to + "\t" + HexText(*signature) + "\n";
}

std::string RecordsAnswer(const std::vector<Publication>& publications, std::string_view signaturesText,
                          const LocalDateTime& after) {
    std::string records = RecordsAfter(publications, after);
    // The answer counts from the newest publication at or before the client's date.
    std::optional<LocalDateTime> from;
    for (const LocalDateTime& date : PublicationDates(publications)) {
        if (Later(date, after)) {
            break;
        }
        from = date;
    }
    return WithStoredSignature(records, signaturesText, from ? UsDateTimeText(*from) : std::string(), {});
}

std::string AnyDateAnswer(const std::vector<Publication>& publications, std::string_view signaturesText) {
    const std::string records = RecordsFrom(publications, std::nullopt);
    // A store signed before such answers were made has none: its answer for clients before the first
    // publication carries the same records.
    const std::string answer = WithStoredSignature(records, signaturesText, {}, std::string());
    return answer != records ? answer : WithStoredSignature(records, signaturesText, {}, {});
}

} // namespace grimsweep
