#include "scan/registry_scan.h"

#include "common/case_folding.h"
#include "common/text.h"
#include "definitions/definition_files.h"
#include "definitions/definition_records.h"
#include "definitions/line_code.h"
#include "scan/scan_run.h"
#include "scan/status_line.h"
#include "ui/list_icons.h"

namespace grimsweep {

namespace {

constexpr std::string_view kRegKeyPrefix = "RegKey ";

// The threat's line in the results list and its row in the removal list, unless the threat is listed
// already (then only its hidden row was added).
void ListThreat(ScanRun& run, const std::string& threat, std::string location, std::string_view details) {
    run.lists.AddFound(threat + std::string(kFoundSuffix), ui::kIconRegistry);
    run.lists.AddRemovalRow(threat, ui::kIconRegistry, std::move(location), details);
    ++run.state.counters.threatsFound;
}

void ReportRecord(ScanRun& run, const RegistryDefinition& record) {
    const auto& counts = run.definitions.counts;
    const std::int32_t done = ++run.state.counters.registryEntries;
    std::string item;
    item.reserve(record.keyPath.size() + 1 + record.valueName.size());
    item.append(record.keyPath).append("\\").append(record.valueName);
    run.feedback.ReportProgress(StatusLine(run, FoldCase(item)), Percent(done, counts.registry),
                                Percent(done + counts.cookies + counts.executables, counts.total));
}

// Lists one present item: safe items are skipped, excluded ones shown as such; otherwise its hidden
// removal row and, once per threat, its results line and removal row.
void ListPresentItem(ScanRun& run, const RegistryDefinition& record) {
    const std::string keyDisplay = record.hiveName + "\\" + record.keyPath;
    const std::string display = keyDisplay + record.valueName;
    if (run.definitions.safeList.IsSafeItem(display)) {
        return;
    }
    const auto& exclusions = run.definitions.exclusions;
    if (exclusions.IsExcluded(display) || exclusions.IsExcluded(keyDisplay)) {
        run.lists.AddExcluded(display);
        return;
    }
    run.lists.AddRegistryRow(record.root, record.keyPath, record.valueName, record.threat);
    ++run.state.counters.traces;
    if (run.lists.ThreatListed(record.threat)) {
        return;
    }
    const bool unnamed = Trim(record.threat).empty();
    if (!record.valueName.empty()) {
        if (!unnamed) {
            ListThreat(run, record.threat, display, record.details);
        }
        return;
    }
    if (unnamed) {
        // A key without a threat name is listed by its path.
        run.lists.AddFound(std::string(kRegKeyPrefix) + record.keyPath + std::string(kFoundSuffix), 0);
        run.lists.AddRemovalRow(record.keyPath, ui::kIconRegistry, keyDisplay, {});
        ++run.state.counters.threatsFound;
        return;
    }
    ListThreat(run, record.threat, keyDisplay, record.details);
}

void InspectItem(ScanRun& run, const RegistryDefinition& record) {
    auto& registry = run.context.machine.registry;
    const bool present = record.valueName.empty()
                             ? RegistryKeyPresent(registry, record.root, Trim(record.keyPath))
                             : RegistryValuePresent(registry, record.root, record.keyPath, record.valueName);
    if (present) {
        ListPresentItem(run, record);
    }
}

// On 64-bit Windows, 32-bit programs see HKLM\Software under Software\Wow6432Node: a record of the
// machine's Software key is looked for there too, and a finding there is named by that path.
void InspectRecord(ScanRun& run, const RegistryDefinition& record, bool wow64) {
    ReportRecord(run, record);
    InspectItem(run, record);
    constexpr std::string_view kSoftware = "software\\";
    constexpr std::string_view kWowNode = "software\\wow6432node";
    const std::string_view key = record.keyPath;
    // What the safe list protects is protected in both views.
    const bool safe =
        run.definitions.safeList.IsSafeItem(record.hiveName + "\\" + record.keyPath + record.valueName);
    if (wow64 && !safe && record.root == RegistryRoot::LocalMachine && key.size() > kSoftware.size() &&
        EqualsIgnoreCase(key.substr(0, kSoftware.size()), kSoftware) &&
        !EqualsIgnoreCase(key.substr(0, std::min(key.size(), kWowNode.size())), kWowNode)) {
        RegistryDefinition counterpart = record;
        counterpart.keyPath = std::string(key.substr(0, kSoftware.size())) + "Wow6432Node\\" +
                              std::string(key.substr(kSoftware.size()));
        InspectItem(run, counterpart);
    }
}

} // namespace

RegistryStatus QueryRegistryValue(IRegistry& registry, RegistryRoot root, const std::string& keyPath,
                                  const std::string& valueName, RegistryValue& out, std::uint32_t access) {
    RegistryValue value;
    const RegistryStatus status = registry.QueryValue(root, keyPath, valueName, access, value);
    if (status != kRegistryOk) {
        return status;
    }
    switch (value.type) {
    case RegistryValueType::String:
    case RegistryValueType::ExpandString:
    case RegistryValueType::Dword:
        out = std::move(value);
        return kRegistryOk;
    default:
        return kRegistryUnreadType;
    }
}

// Presence is tested with read access only: a standard user cannot open machine-wide keys for writing,
// and a presence test needs no more.
bool RegistryKeyPresent(IRegistry& registry, RegistryRoot root, const std::string& keyPath) {
    return registry.OpenKey(root, keyPath, kKeyRead) == kRegistryOk;
}

bool RegistryValuePresent(IRegistry& registry, RegistryRoot root, const std::string& keyPath,
                          const std::string& valueName) {
    RegistryValue value;
    return QueryRegistryValue(registry, root, keyPath, valueName, value) == kRegistryOk;
}

void ScanRegistry(ScanRun& run) {
    auto& machine = run.context.machine;
    const bool wow64 =
        RegistryKeyPresent(machine.registry, RegistryRoot::LocalMachine, "SOFTWARE\\Wow6432Node");
    ForEachDefinitionLine(machine.files, machine.system, run.context.DataFile(kRegistryDefinitionFile),
                          [&](const std::string& line) {
                              run.feedback.Pump();
                              if (run.StopRequested()) {
                                  return false;
                              }
                              if (const auto record = ParseRegistryDefinition(line, run.macros)) {
                                  InspectRecord(run, *record, wow64);
                              }
                              return true;
                          });
}

} // namespace grimsweep
