#include "scan/file_scan.h"

#include "scan/folder_listing_cache.h"

#include <optional>

#include "common/text.h"
#include "definitions/definition_files.h"
#include "definitions/definition_records.h"
#include "definitions/line_code.h"
#include "platform/canonical_path.h"
#include "scan/company_name.h"
#include "scan/definition_presence.h"
#include "scan/scan_run.h"
#include "scan/status_line.h"
#include "ui/list_icons.h"

namespace grimsweep {

namespace {

void ForEachStageLine(ScanRun& run, std::string_view file,
                      const std::function<bool(const std::string&)>& visit) {
    auto& machine = run.context.machine;
    ForEachDefinitionLine(machine.files, machine.system, run.context.DataFile(file), visit);
}

// One more file or folder inspected, reported with the item's name.
void ReportItem(ScanRun& run, std::string_view item) {
    const auto& counts = run.definitions.counts;
    const std::int32_t done = ++run.state.counters.filesAndFolders;
    run.feedback.ReportProgress(
        StatusLine(run, item), Percent(done, counts.filesAndFolders),
        Percent(done + counts.registry + counts.cookies + counts.executables, counts.total));
}

// The hidden removal row of a found file or folder and, once per threat, its results line and removal
// row. `listUnnamed` says whether a threat without a name still gets them.
void ListFinding(ScanRun& run, const std::string& path, const std::string& threat, std::string_view details,
                 int icon, bool listUnnamed) {
    run.lists.AddFileRow(path, threat);
    ++run.state.counters.traces;
    if (run.lists.ThreatListed(threat) || (!listUnnamed && Trim(threat).empty())) {
        return;
    }
    run.lists.AddFound(threat + std::string(kFoundSuffix), icon);
    run.lists.AddRemovalRow(threat, icon, path, details);
    ++run.state.counters.threatsFound;
}

// The definition's path in the form the system would open; nothing for a network, device, stream or
// relative path, which a scan never looks at (a network path would send the user's credentials to its host).
std::optional<std::string> LocalPath(ScanRun& run, const std::string& path) {
    CanonicalPath canonical = CanonicalizePath(run.context.machine.files, path);
    if (!canonical.Local()) {
        return std::nullopt;
    }
    return std::move(canonical.path);
}

void InspectFileAt(ScanRun& run, const FileDefinition& record) {
    const auto local = LocalPath(run, record.fullPath);
    if (!local) {
        return;
    }
    const std::string& path = *local;
    if (!DefinitionFilePresent(run, path) || run.definitions.safeList.IsSafeItem(path)) {
        return;
    }
    // Excluded before the company name is read: an excluded Microsoft file is still shown as excluded.
    if (run.definitions.exclusions.IsExcluded(path)) {
        run.lists.AddExcluded(path);
        return;
    }
    if (IsMicrosoftCompany(ReadCompanyName(run.context.machine.files, path))) {
        return;
    }
    ListFinding(run, path, record.threat, record.details, ui::kIconFile, false);
}

void InspectFolderAt(ScanRun& run, const DirectoryDefinition& record) {
    const auto local = LocalPath(run, record.folder);
    if (!local) {
        return;
    }
    const std::string& folder = *local;
    if (!DefinitionFolderPresent(run, folder) || run.definitions.safeList.IsSafeItem(folder)) {
        return;
    }
    if (run.definitions.exclusions.IsExcludedFolder(folder)) {
        run.lists.AddExcluded(folder);
        return;
    }
    ListFinding(run, folder, record.threat, record.details, ui::kIconFolder, true);
}

// A place the safe list protects is protected in both views: the same program among the 32-bit programs
// is that program too.
bool SafePlace(ScanRun& run, const std::string& path) {
    const auto local = LocalPath(run, path);
    return local && run.definitions.safeList.IsSafeItem(*local);
}

// The definition's place, and on 64-bit Windows the same place among the 32-bit programs: each that is
// present is a finding of its own, named by where it really is. `place` is the record's path member.
template <typename Record, typename InspectAt>
void InspectBothViews(ScanRun& run, const Record& record, std::string Record::*place, InspectAt inspectAt) {
    inspectAt(run, record);
    if (SafePlace(run, record.*place)) {
        return;
    }
    for (std::string& path : run.macros.Counterparts32(record.*place)) {
        Record counterpart = record;
        counterpart.*place = std::move(path);
        inspectAt(run, counterpart);
    }
}

void InspectFile(ScanRun& run, const FileDefinition& record) {
    InspectBothViews(run, record, &FileDefinition::fullPath, InspectFileAt);
}

void InspectFolder(ScanRun& run, const DirectoryDefinition& record) {
    InspectBothViews(run, record, &DirectoryDefinition::folder, InspectFolderAt);
}

} // namespace

void ScanFiles(ScanRun& run) {
    // Definitions name the same few folders many times: each is listed once for the whole phase.
    FolderListingCache listings(run.context.machine.files);
    run.fileListings = &listings;
    ForEachStageLine(run, kFileDefinitionFile, [&run](const std::string& line) {
        if (run.StopRequested()) {
            return false;
        }
        const FileDefinition record = ParseFileDefinition(line, run.macros);
        ReportItem(run, record.fileName);
        if (run.StopRequested()) {
            return false;
        }
        InspectFile(run, record);
        run.feedback.Pump();
        return true;
    });
    run.fileListings = nullptr;
}

void ScanFolders(ScanRun& run) {
    ForEachStageLine(run, kDirectoryDefinitionFile, [&run](const std::string& line) {
        if (run.StopRequested()) {
            return false;
        }
        if (const auto record = ParseDirectoryDefinition(line, run.macros)) {
            ReportItem(run, record->label);
            if (run.StopRequested()) {
                return false;
            }
            InspectFolder(run, *record);
        }
        run.feedback.Pump();
        return true;
    });
}

} // namespace grimsweep
