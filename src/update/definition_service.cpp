#include "update/definition_service.h"

#include "common/percent_encoding.h"
#include "core/context.h"
#include "definitions/definition_status.h"
#include "ui/control.h"
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

UpdateOutcome FetchAndApplyUpdates(Context& context, const std::string& serviceAddress, ui::Control* status) {
    UpdateOutcome outcome;
    if (status) {
        status->SetCaption(std::string(kConnectingStatus));
    }
    context.host.PumpMessages();
    IFileSystem& files = context.machine.files;
    ISystem& system = context.machine.system;
    // A definitions date that cannot be read counts as older than anything the service offers.
    const LocalDateTime current = ParseUsDateTime(ReadDefinitionsDate(files, system, context.dataFolder))
                                      .value_or(LocalDateTime{100, 1, 1});
    const std::string newestAnswer = FetchUrlTextWithProgress(
        context, serviceAddress + std::string(kCurrentDatePage) + ProductQuery(context), status);
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
                                      status);
    if (!records) {
        outcome.failure = UpdateFailure::BadAnswer;
        return outcome;
    }
    outcome.changes = ApplyUpdateRecords(context, *records, status);
    if (outcome.changes > 0) {
        if (const auto stored = ServiceDate(FetchUrlText(context, serviceAddress + std::string(kDatePage)))) {
            const std::string text = UsDateTimeText(*stored);
            if (WriteDefinitionsDate(files, system, context.dataFolder, text)) {
                outcome.newDate = text;
            }
        }
    }
    return outcome;
}

} // namespace grimsweep
