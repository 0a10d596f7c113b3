#include "scan/process_scan.h"

#include <string>
#include <vector>

#include "common/case_folding.h"
#include "common/text.h"
#include "definitions/definition_files.h"
#include "definitions/definition_records.h"
#include "definitions/line_code.h"
#include "scan/company_name.h"
#include "scan/process_list.h"
#include "scan/process_stop.h"
#include "scan/system_path.h"
#include "ui/list_icons.h"

namespace grimsweep {

namespace {

constexpr char kPathDelimiter = '|';

class ProcessScan {
public:
    explicit ProcessScan(ScanRun& run) : run_(run), machine_(run.context.machine) {}

    ProcessScanOutcome Run() {
        std::vector<std::string> names;
        std::vector<std::uint32_t> ids;
        outcome_.runningCount = ListProcesses(machine_.processes, names, ids, {}, true);
        ReadDefinitionPaths();
        for (std::int32_t i = 0; i < outcome_.runningCount; ++i) {
            CountOne();
            if (run_.StopRequested()) {
                break;
            }
            Examine(ids[static_cast<std::size_t>(i)]);
            run_.feedback.Pump();
        }
        return outcome_;
    }

private:
    // One counted item: a definition line read or a process examined.
    void CountOne() {
        auto& counted = run_.state.counters.cookiesAndProcesses;
        ++counted;
        if (!run_.feedback.UserScanRunning()) {
            return;
        }
        const auto& counts = run_.definitions.counts;
        run_.feedback.ReportProgress(run_.StatusText(lastName_), Percent(counted, counts.executables),
                                     Percent(counted + counts.cookies, counts.total));
    }

    // "|path|path|...|", case folded, so that one search answers whether a path is listed.
    void ReadDefinitionPaths() {
        paths_.clear();
        const auto lines =
            ReadDefinitionLines(machine_.files, machine_.system, run_.context.DataFile(kExeDefinitionFile));
        if (!lines) {
            return;
        }
        std::string list(1, kPathDelimiter);
        for (const auto& line : *lines) {
            if (run_.StopRequested()) {
                return;
            }
            if (const auto record = ParseExeDefinition(line, run_.macros)) {
                list += record->fullPath;
                list += kPathDelimiter;
                // The same program among the 32-bit ones on 64-bit Windows.
                for (const std::string& counterpart : run_.macros.Counterparts32(record->fullPath)) {
                    list += counterpart;
                    list += kPathDelimiter;
                }
                lastName_ = record->fileName;
            }
            CountOne();
            run_.feedback.Pump();
        }
        paths_ = FoldCase(list);
    }

    bool Listed(std::string_view path) const {
        if (paths_.empty()) {
            return false;
        }
        std::string needle(1, kPathDelimiter);
        needle += FoldCase(path);
        needle += kPathDelimiter;
        return paths_.find(needle) != std::string::npos;
    }

    void Examine(std::uint32_t id) {
        const MainModule module = machine_.processes.QueryMainModule(id);
        if (module.fullPath.empty()) {
            return; // not open to the query, or its path could not be read
        }
        RunningThreat threat;
        threat.processId = id;
        threat.imagePath =
            ToUpper(NormaliseSystemPath(ToUpper(Trim(module.fullPath)), machine_.system.SystemFolder()));
        if (!Listed(threat.imagePath)) {
            return;
        }
        threat.name = AfterLastBackslash(threat.imagePath);
        threat.companyName = ReadCompanyName(machine_.files, threat.imagePath);
        if (IsMicrosoftCompany(threat.companyName)) {
            return;
        }
        if (run_.definitions.exclusions.IsExcluded(threat.name)) {
            run_.lists.AddExcluded(threat.name);
            return;
        }
        if (EqualsFolded(Trim(threat.name), kOwnHelperProgram)) {
            return;
        }
        ReportRunningThreat(run_, threat);
        ++run_.state.counters.threatsFound;
        ++outcome_.threatsReported;
    }

    ScanRun& run_;
    const Machine& machine_;
    ProcessScanOutcome outcome_;
    std::string paths_;
    std::string lastName_; // the executable name of the definition line last read
};

} // namespace

ProcessScanOutcome ScanProcesses(ScanRun& run) {
    return ProcessScan(run).Run();
}

void ReportRunningThreat(ScanRun& run, const RunningThreat& threat) {
    if (!run.feedback.UserScanRunning()) {
        if (run.onRunningThreatOutsideScan) {
            run.onRunningThreatOutsideScan(threat);
        }
        return;
    }
    // Stop first, so that the row says what happened.
    const ThreatStop stop = StopRunningThreat(run.context.machine, threat.processId, threat.imagePath);
    const std::string name = ToUpper(threat.name);
    if (ThreatGone(stop)) {
        run.lists.AddFound(std::string(kMemoryRowPrefix) + name + std::string(kMemoryRowStopped),
                           ui::kIconFile);
    } else {
        run.lists.AddFound(
            ReplaceAll(run.context.messages.getMessages(kMsgMemoryNotStopped), kFileNamePlaceholder, name),
            ui::kIconFile);
    }
}

std::optional<ProcessScanOutcome> RunProcessCheck(ScanRun& run) {
    switch (run.context.machine.system.GetOsVersion().platformId) {
    case kPlatformNt:
        return ScanProcesses(run);
    case kPlatformWin9x:
        return ScanProcessesLegacy(run);
    default:
        return std::nullopt;
    }
}

} // namespace grimsweep
