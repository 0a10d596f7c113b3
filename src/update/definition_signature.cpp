#include "update/definition_signature.h"

#include "common/hex_text.h"
#include "common/text.h"
#include "definitions/line_code.h"
#include "platform/calendar.h"
#include "update/service_dates.h"
#include "update/update_records.h"

namespace grimsweep {

namespace {

constexpr std::string_view kMessageHeading = "Grimsweep definitions\n";

std::string RecordHead() {
    return EncodeDefinitionLine(kSignatureKind) + "|" + std::string(kSignatureAction) +
           std::string(kDefinitionMarker);
}

// The day after, at the same time.
LocalDateTime NextDay(LocalDateTime when) {
    if (++when.day > DaysInMonth(when.year, when.month)) {
        when.day = 1;
        if (++when.month > 12) {
            when.month = 1;
            ++when.year;
        }
    }
    return when;
}

// The text after `name` "=" in a field, when the field starts so.
std::optional<std::string_view> FieldValue(std::string_view field, std::string_view name) {
    if (field.size() <= name.size() || field.substr(0, name.size()) != name || field[name.size()] != '=') {
        return std::nullopt;
    }
    return field.substr(name.size() + 1);
}

} // namespace

std::string SignedMessage(const AnswerSpan& span, std::string_view records) {
    std::string message(kMessageHeading);
    message.append("from=").append(span.from).append("\nuntil=").append(span.until);
    message.append("\nto=").append(span.to).append("\n").append(records);
    return message;
}

std::string WithSignatureRecord(std::string_view records, const AnswerSpan& span,
                                std::string_view signature) {
    std::string answer(records);
    if (!answer.empty()) {
        answer += kRecordSeparator;
    }
    answer += RecordHead() + "from=" + span.from + "|until=" + span.until + "|to=" + span.to +
              "|p256=" + HexText(signature);
    return answer;
}

SignatureCheck CheckSignedAnswer(ISignatures& signatures, std::string_view publicKey, std::string_view answer,
                                 const LocalDateTime& current, const LocalDateTime& now) {
    SignatureCheck check;
    // The signature record is the last one; nothing may follow it.
    const std::size_t separator = answer.rfind(kRecordSeparator);
    const std::size_t recordStart =
        separator == std::string_view::npos ? 0 : separator + kRecordSeparator.size();
    const std::string_view record = answer.substr(recordStart);
    const std::string head = RecordHead();
    if (record.substr(0, head.size()) != head) {
        check.refusal = SignatureRefusal::Missing;
        return check;
    }
    const std::vector<std::string> fields = Split(record.substr(head.size()), "|");
    const auto from = fields.size() == 4 ? FieldValue(fields[0], "from") : std::nullopt;
    const auto until = fields.size() == 4 ? FieldValue(fields[1], "until") : std::nullopt;
    const auto to = fields.size() == 4 ? FieldValue(fields[2], "to") : std::nullopt;
    const auto signatureHex = fields.size() == 4 ? FieldValue(fields[3], "p256") : std::nullopt;
    const auto signature = signatureHex ? BytesOfHex(*signatureHex) : std::nullopt;
    const auto fromDate = from && !from->empty() ? ParseUsDateTime(*from) : std::nullopt;
    const auto untilDate = until && !until->empty() ? ParseUsDateTime(*until) : std::nullopt;
    const auto toDate = to ? ParseUsDateTime(*to) : std::nullopt;
    if (!from || !until || !toDate || !signature || signature->size() != kP256SignatureBytes ||
        (!from->empty() && !fromDate) || (!until->empty() && !untilDate)) {
        check.refusal = SignatureRefusal::Malformed;
        return check;
    }
    check.records = answer.substr(0, separator == std::string_view::npos ? 0 : separator);
    const AnswerSpan span{std::string(*from), std::string(*until), std::string(*to)};
    if (!signatures.Verify(publicKey, SignedMessage(span, check.records), *signature)) {
        check.refusal = SignatureRefusal::Invalid;
    } else if ((fromDate && Later(*fromDate, current)) || (untilDate && !Later(*untilDate, current))) {
        check.refusal = SignatureRefusal::OtherStart;
    } else if (!Later(*toDate, current)) {
        check.refusal = SignatureRefusal::NotNewer;
    } else if (Later(*toDate, NextDay(now))) {
        check.refusal = SignatureRefusal::Future;
    }
    check.to = *toDate;
    return check;
}

} // namespace grimsweep
