// The process check of the 95/98/Me family: the executable definitions are kept in memory for the life
// of the process, and every program of a tool-help snapshot whose executable name the definitions list
// is stopped (during a user scan) or brought to the user with a Yes/No question.
#include <string>

#include "common/case_folding.h"
#include "common/text.h"
#include "definitions/definition_files.h"
#include "definitions/definition_records.h"
#include "definitions/exclusion_list.h"
#include "definitions/line_code.h"
#include "scan/company_name.h"
#include "scan/process_scan.h"
#include "ui/list_icons.h"
#include "ui/message_box.h"

namespace grimsweep {

namespace {

constexpr std::string_view kLegacyRowStopped = " and was stopped being from ruuning.";
constexpr std::string_view kLegacyAlertTitleSuffix = "  - Alert";

class LegacyProcessCheck {
public:
    explicit LegacyProcessCheck(ScanRun& run) : run_(run), machine_(run.context.machine) {}

    ProcessScanOutcome Run() {
        if (!LoadDefinitions()) {
            return outcome_;
        }
        const auto snapshot = machine_.processes.Snapshot();
        if (!snapshot) {
            outcome_.runningCount = -1;
            return outcome_;
        }
        for (const SnapshotEntry& process : *snapshot) {
            ++outcome_.runningCount;
            Examine(process);
            run_.feedback.Pump();
        }
        return outcome_;
    }

private:
    // Reads ExeDefinition.dat once per process; later checks count the kept lines instead. False when
    // there is nothing to compare with.
    bool LoadDefinitions() {
        LegacyExecutables& kept = run_.state.legacyExecutables;
        auto& counted = run_.state.counters.cookiesAndProcesses;
        if (!kept.Empty()) {
            counted += static_cast<std::int32_t>(kept.lines.size());
            return true;
        }
        const std::string path = run_.context.DataFile(kExeDefinitionFile);
        const bool read =
            ForEachDefinitionLine(machine_.files, machine_.system, path, [&](const std::string& line) {
                kept.lines.push_back(line);
                if (const auto record = ParseExeDefinition(line, run_.macros)) {
                    kept.names.insert(FoldCase(Trim(record->fileName)));
                }
                ++counted;
                if (run_.feedback.UserScanRunning()) {
                    const auto& counts = run_.definitions.counts;
                    run_.feedback.ReportProgress(run_.StatusText(line), Percent(counted, counts.executables),
                                                 Percent(counted + counts.cookies, counts.total));
                }
                run_.feedback.Pump();
                if (run_.StopRequested()) {
                    kept.Clear();
                    return false;
                }
                return true;
            });
        return read && !kept.Empty();
    }

    static std::string ProcessName(const std::string& exeField) {
        std::string name = AfterLastBackslash(exeField);
        if (const auto nul = name.find('\0'); nul != std::string::npos) {
            name.resize(nul);
        }
        return ToUpper(Trim(name));
    }

    void Examine(const SnapshotEntry& process) {
        const std::string name = ProcessName(process.exeName);
        if (name.empty() || !run_.state.legacyExecutables.names.contains(FoldCase(name))) {
            return;
        }
        // The snapshot of this family carries the full path; the version resource is read from it.
        const std::string& image = process.exeName.find('\\') != std::string::npos ? process.exeName : name;
        if (IsMicrosoftCompany(ReadCompanyName(machine_.files, image))) {
            return;
        }
        if (run_.definitions.exclusions.IsExcluded(name)) {
            run_.lists.AddExcluded(name);
            return;
        }
        if (EqualsFolded(name, kOwnHelperProgram)) {
            return;
        }
        if (run_.feedback.UserScanRunning()) {
            run_.lists.AddFound(std::string(kMemoryRowPrefix) + name + std::string(kLegacyRowStopped),
                                ui::kIconFile);
            StopById(process);
            Found();
            return;
        }
        if (Ask(name) == MessageBoxAnswer::Yes) {
            StopById(process);
            Found();
        } else {
            // Added to the list in memory as well, so that the next check does not ask again.
            AppendExclusion(run_.context, run_.definitions.exclusions, Trim(name));
        }
    }

    MessageBoxAnswer Ask(const std::string& name) {
        const MessageCatalogue& messages = run_.context.messages;
        MessageBoxRequest question;
        question.title = run_.context.brand.programName + std::string(kLegacyAlertTitleSuffix);
        question.text = messages.getMessages(kMsgFound1) + name + messages.getMessages(kMsgFound2) + name +
                        messages.getMessages(kMsgFound3);
        question.buttons = MessageBoxButtons::YesNo;
        question.icon = MessageBoxIcon::Question;
        return run_.context.host.ShowMessageBox(question);
    }

    // Stops the process only while that identifier still runs the same executable, checked and stopped
    // through one handle: the question may have waited long enough for the identifier to be reused.
    void StopById(const SnapshotEntry& process) {
        const std::string expected = AfterLastBackslash(process.exeName);
        machine_.processes.TerminateIfImage(
            process.id,
            [&expected](const std::string& image) {
                return EqualsFolded(AfterLastBackslash(image), expected);
            },
            0, false);
    }

    void Found() {
        ++run_.state.counters.threatsFound;
        ++outcome_.threatsReported;
    }

    ScanRun& run_;
    const Machine& machine_;
    ProcessScanOutcome outcome_;
};

} // namespace

ProcessScanOutcome ScanProcessesLegacy(ScanRun& run) {
    return LegacyProcessCheck(run).Run();
}

} // namespace grimsweep
