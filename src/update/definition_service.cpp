#include "update/definition_service.h"

#include "common/hex_text.h"
#include "common/percent_encoding.h"
#include "common/text.h"
#include "core/context.h"
#include "definitions/definition_status.h"
#include "ui/control.h"
#include "update/definition_signature.h"
#include "update/http_fetch.h"
#include "update/service_dates.h"
#include "update/update_records.h"

namespace grimsweep {

namespace {

std::optional<LocalDateTime> ServiceDate(const std::string& answer) {
    return ParseUsDateTime(CleanServiceDate(answer));
}

} // namespace

std::string ProductQuery(const Context& context) {
    return "?prog=" + PercentEncode(context.brand.programName) +
           "&comp=" + PercentEncode(context.brand.companyName);
}

std::string DefinitionsQuery(const Context& context, std::string_view definitionsDate) {
    return ProductQuery(context) + "&date=" + PercentEncode(definitionsDate);
}

UpdateOutcome FetchAndApplyUpdates(Context& context, const std::string& serviceAddress, ui::Control* status,
                                   std::string_view definitionKey, const std::function<bool()>& cancelled) {
    const auto stopped = [&] { return cancelled && cancelled(); };
    UpdateOutcome outcome;
    if (status) {
        status->SetCaption(context.Message("MSG_DEFS_CONNECTING"));
    }
    context.host.PumpMessages();
    IFileSystem& files = context.machine.files;
    ISystem& system = context.machine.system;
    // A definitions date that cannot be read counts as older than anything the service offers.
    const LocalDateTime current = ParseUsDateTime(ReadDefinitionsDate(files, system, context.dataFolder))
                                      .value_or(LocalDateTime{100, 1, 1});
    const std::string newestAnswer =
        FetchUrlBody(context, serviceAddress + std::string(kCurrentDatePage) + ProductQuery(context), status,
                     cancelled)
            .value_or("");
    if (stopped()) {
        outcome.failure = UpdateFailure::Cancelled;
        return outcome;
    }
    outcome.reached = !newestAnswer.empty();
    const auto newest = ServiceDate(newestAnswer);
    if (!newest) {
        outcome.failure = outcome.reached ? UpdateFailure::BadAnswer : UpdateFailure::Unreachable;
        return outcome;
    }
    if (!Later(*newest, current)) {
        return outcome;
    }
    // A cut, refused or oversized answer is no list of records: nothing is applied from it.
    const auto records = FetchUrlBody(context,
                                      serviceAddress + std::string(kDefinitionsPage) +
                                          DefinitionsQuery(context, UsDateTimeText(current)),
                                      status, cancelled);
    if (stopped()) {
        outcome.failure = UpdateFailure::Cancelled;
        return outcome;
    }
    if (!records) {
        outcome.failure = UpdateFailure::BadAnswer;
        return outcome;
    }
    std::string_view recordsText = *records;
    std::optional<LocalDateTime> signedDate;
    if (!Trim(definitionKey).empty()) {
        const auto key = BytesOfHex(Trim(definitionKey));
        const SignatureCheck check =
            key ? CheckSignedAnswer(context.machine.signatures, *key, *records, current, system.Now())
                : SignatureCheck{SignatureRefusal::Malformed, {}, {}};
        if (check.refusal != SignatureRefusal::None) {
            outcome.failure = UpdateFailure::Unverified;
            return outcome;
        }
        recordsText = check.records;
        signedDate = check.to;
    }
    const auto changes = TryApplyUpdateRecords(context, recordsText, status);
    if (!changes) {
        outcome.failure = UpdateFailure::NotSaved;
        return outcome;
    }
    outcome.changes = *changes;
    if (outcome.changes > 0) {
        // A signed answer says which date it brings; the unsigned date page is not asked then.
        const auto stored = signedDate
                                ? signedDate
                                : ServiceDate(FetchUrlText(context, serviceAddress + std::string(kDatePage)));
        if (stored) {
            const std::string text = UsDateTimeText(*stored);
            if (WriteDefinitionsDate(files, system, context.dataFolder, text)) {
                outcome.newDate = text;
            }
        }
    }
    return outcome;
}

} // namespace grimsweep
