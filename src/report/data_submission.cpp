#include "report/data_submission.h"

#include <algorithm>
#include <vector>

#include "common/attempt.h"
#include "common/percent_encoding.h"
#include "common/text.h"
#include "core/context.h"
#include "core/settings_keys.h"
#include "definitions/line_code.h"
#include "report/submission_payload.h"
#include "ui/form.h"
#include "update/http_fetch.h"
#include "update/service_addresses.h"

namespace grimsweep {

namespace {

constexpr std::string_view kCrLf2 = "\r\n\r\n";

bool NeverSent(std::string_view name) {
    return std::find(kProcessesNeverSent.begin(), kProcessesNeverSent.end(), name) !=
           kProcessesNeverSent.end();
}

} // namespace

std::string ScrambleName(Context& context, std::string_view name) {
    return EncodeDefinitionLine(context.machine.system.Utf8ToCodePage(std::string(name)));
}

std::string BuildProcessList(Context& context) {
    const auto names = context.machine.processNames.RunningProcessNames();
    if (!names) {
        return {};
    }
    std::vector<std::string> sent;
    for (const std::string& name : *names) {
        if (!NeverSent(name)) {
            sent.push_back(ScrambleName(context, name));
        }
    }
    return JoinSubmissionNames(sent);
}

std::string CollectionUrl(Context& context, std::string_view payload) {
    std::string url = ReadServiceAddresses(context).collection;
    url.append(kCollectionQuery).append(PercentEncode(payload));
    return url;
}

bool SubmissionAccepted(std::string_view answer) {
    return ContainsIgnoreCase(answer, "Skipped") || ContainsIgnoreCase(answer, "Added");
}

DataSubmission::DataSubmission(Context& context, ui::Form& mainWindow)
    : context_(context), form_(mainWindow) {}

ui::Control& DataSubmission::Control(std::string_view name) {
    return form_.Get(name);
}

bool DataSubmission::Allowed() {
    return Control(kSendDataBox).Value() == 1;
}

void DataSubmission::SendProcessList() {
    // Failures here are silent: the list is then simply not sent.
    Attempt([&] {
        const std::string list = BuildProcessList(context_);
        if (!list.empty()) {
            FetchUrlText(context_, CollectionUrl(context_, list));
        }
    });
}

void DataSubmission::SubmitFileName() {
    ui::Control& box = Control(kSubmitNameBox);
    const std::string name = box.Text();
    const std::string payload = JoinSubmissionNames({ScrambleName(context_, name)}) + kPayloadSeparator;
    const std::string answer = FetchUrlText(context_, CollectionUrl(context_, payload));
    const MessageCatalogue& messages = context_.messages;
    std::string outcome = messages.getMessages(kMsgResults) + " ";
    if (SubmissionAccepted(answer)) {
        outcome += name + " " + messages.getMessages(kMsgResultsThank);
    } else {
        outcome +=
            messages.getMessages(kMsgProblem) + " " + name + ".  " + messages.getMessages(kMsgProblem2);
    }
    Control(kSubmitResultLabel).SetCaption(std::move(outcome));
    box.SetText("");
}

void DataSubmission::BrowseForFile() {
    if (const auto path = context_.host.ChooseFileToOpen(form_)) {
        Control(kSubmitNameBox).SetText(AfterLastBackslash(*path));
    }
}

void DataSubmission::OnSendDataChanged() {
    ui::Control& box = Control(kSendDataBox);
    SettingsStore& store = context_.settings;
    if (box.Value() == 1) {
        store.WriteCheck(settings::kSectionOptions, settings::kSendData, 1);
        return;
    }
    const MessageCatalogue& messages = context_.messages;
    MessageBoxRequest question;
    question.title = messages.getMessages(kMsgAnon4);
    question.text = messages.getMessages(kMsgAnon1) + std::string(kCrLf2) + messages.getMessages(kMsgAnon2) +
                    std::string(kCrLf2) + messages.getMessages(kMsgAnon3);
    question.buttons = MessageBoxButtons::YesNo;
    question.icon = MessageBoxIcon::None;
    if (context_.host.ShowMessageBox(question) == MessageBoxAnswer::No) {
        // Ticking it again runs this handler once more, which stores "1".
        box.SetValue(1);
        store.WriteCheck(settings::kSectionOptions, settings::kSendData, 1);
        return;
    }
    store.WriteCheck(settings::kSectionOptions, settings::kSendData, 0);
}

} // namespace grimsweep
