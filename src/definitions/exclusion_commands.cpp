#include "definitions/exclusion_commands.h"

#include "app/program.h"
#include "common/text.h"
#include "definitions/definition_status.h"
#include "definitions/exclusion_list.h"
#include "platform/text_files.h"

namespace grimsweep {

namespace {
constexpr std::string_view kTextEditorCommand = "notepad ";
} // namespace

ExcludeOutcome ExcludeSelectedRows(Program& program, const std::vector<ExcludeRow>& removalRows,
                                   bool listsEmpty) {
    const MessageCatalogue& messages = program.messages;
    if (listsEmpty) {
        program.host.ShowMessageBox({messages.getMessages(kMsgSorry), program.brand.programName,
                                     MessageBoxButtons::Ok, MessageBoxIcon::Information});
        return ExcludeOutcome::NothingToExclude;
    }
    const std::string blankLine = std::string(kCrLf) + std::string(kCrLf);
    const std::string question = messages.getMessages(kMsgExcludeSure1) + blankLine +
                                 messages.getMessages(kMsgExcludeSure2) + blankLine +
                                 messages.getMessages(kMsgExcludeSure3);
    const auto answer = program.host.ShowMessageBox({question, messages.getMessages(kMsgExcludeSure4),
                                                     MessageBoxButtons::YesNo, MessageBoxIcon::Question});
    if (answer != MessageBoxAnswer::Yes) {
        return ExcludeOutcome::Declined;
    }
    for (const auto& row : removalRows) {
        if (row.ticked) {
            AppendExclusion(program, row.location);
            AppendExclusion(program, ReplaceAll(row.text, kCookieRowPrefix, ""));
        }
    }
    return ExcludeOutcome::Excluded;
}

void ViewExclusions(Program& program) {
    const std::string path = program.DataFile(kExclusionFile);
    if (FileExists(program.machine.files, path)) {
        program.machine.shell.RunCommand(std::string(kTextEditorCommand) + path);
        return;
    }
    const MessageCatalogue& messages = program.messages;
    program.host.ShowMessageBox({messages.getMessages(kMsgNoExclusionFile),
                                 messages.getMessages(kMsgNoExclusionFileTitle), MessageBoxButtons::Ok,
                                 MessageBoxIcon::Information});
}

} // namespace grimsweep
