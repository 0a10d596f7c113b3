#include "definitions/exclusion_commands.h"

#include "common/text.h"
#include "core/context.h"
#include "definitions/definition_status.h"
#include "definitions/exclusion_list.h"
#include "platform/text_files.h"

namespace grimsweep {

namespace {
constexpr std::string_view kTextEditorCommand = "notepad ";
} // namespace

ExcludeOutcome ExcludeSelectedRows(Context& context, ExclusionList& exclusions,
                                   const std::vector<ExcludeRow>& removalRows, bool listsEmpty) {
    const MessageCatalogue& messages = context.messages;
    if (listsEmpty) {
        context.host.ShowMessageBox({messages.getMessages(kMsgSorry), context.brand.programName,
                                     MessageBoxButtons::Ok, MessageBoxIcon::Information});
        return ExcludeOutcome::NothingToExclude;
    }
    const std::string blankLine = std::string(kCrLf) + std::string(kCrLf);
    const std::string question = messages.getMessages(kMsgExcludeSure1) + blankLine +
                                 messages.getMessages(kMsgExcludeSure2) + blankLine +
                                 messages.getMessages(kMsgExcludeSure3);
    const auto answer = context.host.ShowMessageBox({question, messages.getMessages(kMsgExcludeSure4),
                                                     MessageBoxButtons::YesNo, MessageBoxIcon::Question});
    if (answer != MessageBoxAnswer::Yes) {
        return ExcludeOutcome::Declined;
    }
    for (const auto& row : removalRows) {
        if (row.ticked) {
            AppendExclusion(context, exclusions, row.location);
            AppendExclusion(context, exclusions, ReplaceAll(row.text, kCookieRowPrefix, ""));
        }
    }
    return ExcludeOutcome::Excluded;
}

void ViewExclusions(Context& context) {
    const std::string path = context.DataFile(kExclusionFile);
    if (FileExists(context.machine.files, path)) {
        context.machine.shell.RunCommand(std::string(kTextEditorCommand) + path);
        return;
    }
    const MessageCatalogue& messages = context.messages;
    context.host.ShowMessageBox({messages.getMessages(kMsgNoExclusionFile),
                                 messages.getMessages(kMsgNoExclusionFileTitle), MessageBoxButtons::Ok,
                                 MessageBoxIcon::Information});
}

} // namespace grimsweep
