// The registry, file and folder stages on a large simulated definition set, against the bare presence
// tests they make (the same paths, already prepared). Prints the ratio scan / presence and the peak
// memory of the process.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "core/context.h"
#include "core/file_presence.h"
#include "definitions/definition_files.h"
#include "definitions/definition_records.h"
#include "definitions/definition_state.h"
#include "definitions/line_code.h"
#include "platform/sim/sim_machine.h"
#include "platform/text_files.h"
#include "scan/file_scan.h"
#include "scan/recording_feedback.h"
#include "scan/registry_scan.h"
#include "throttled_feedback.h"
#include "ui/headless_host.h"

namespace {

using namespace grimsweep;
using Clock = std::chrono::steady_clock;

constexpr int kFileDefinitions = 100000;
constexpr int kFolderDefinitions = 20000;
constexpr int kRegistryDefinitions = 50000;
constexpr int kSafeEntries = 20000;
constexpr int kExclusions = 5000;
constexpr int kPresentEvery = 100; // about 1% of the items are present
constexpr int kRounds = 5;

std::string EncodedFile(const std::vector<std::string>& plainLines) {
    std::string bytes;
    for (const auto& line : plainLines) {
        bytes += EncodeDefinitionLine(line) + std::string(kCrLf);
    }
    return bytes;
}

struct Workload {
    std::vector<std::string> filePaths;
    std::vector<std::string> folderPaths;
    std::vector<RegistryDefinition> registryItems;
};

// Writes the five definition files and plants about 1% of what they name; gives the prepared items.
Workload Plant(sim::SimMachine& sim, Context& context, DefinitionState& definitions,
               const PathMacroTable& macros) {
    std::mt19937 random(7);
    Workload work;
    std::vector<std::string> lines;
    for (int i = 0; i < kFileDefinitions; ++i) {
        const int vendor = static_cast<int>(random() % 3000);
        lines.push_back("module" + std::to_string(i) + ".dll=Threat " + std::to_string(i % 7000) +
                        "|[progfil]Vendor" + std::to_string(vendor) + (i % 3 ? "|Adware" : ""));
    }
    for (const auto& line : lines) {
        work.filePaths.push_back(ParseFileDefinition(line, macros).fullPath);
    }
    sim.files.PutFile(context.DataFile(kFileDefinitionFile), EncodedFile(lines));

    lines.clear();
    for (int i = 0; i < kFolderDefinitions; ++i) {
        lines.push_back("Folder " + std::to_string(i) + "=Threat " + std::to_string(i % 7000) +
                        "|[progfil]Vendor" + std::to_string(random() % 3000) + "\\Sub" + std::to_string(i));
    }
    for (const auto& line : lines) {
        work.folderPaths.push_back(ParseDirectoryDefinition(line, macros)->folder);
    }
    sim.files.PutFile(context.DataFile(kDirectoryDefinitionFile), EncodedFile(lines));

    lines.clear();
    for (int i = 0; i < kRegistryDefinitions; ++i) {
        const std::string key =
            "SOFTWARE\\Vendor" + std::to_string(random() % 3000) + "\\Component" + std::to_string(i);
        lines.push_back((i % 2 ? "1^" : "2^") + key + "^" + (i % 4 < 2 ? "" : "Run" + std::to_string(i)) +
                        "^=Threat " + std::to_string(i % 7000) + "|Hijacker");
    }
    for (const auto& line : lines) {
        work.registryItems.push_back(*ParseRegistryDefinition(line, macros));
    }
    sim.files.PutFile(context.DataFile(kRegistryDefinitionFile), EncodedFile(lines));
    sim.files.PutFile(context.DataFile(kExeDefinitionFile), EncodedFile({"x.exe=X|[windir]"}));
    sim.files.PutFile(context.DataFile(kBlockedCookiesFile), EncodedFile({"*.example.com"}));

    for (std::size_t i = 0; i < work.filePaths.size(); i += kPresentEvery) {
        sim.files.PutFile(work.filePaths[i], "MZ plain program");
    }
    for (std::size_t i = 0; i < work.folderPaths.size(); i += kPresentEvery) {
        sim.files.PutFolder(work.folderPaths[i]);
    }
    for (std::size_t i = 0; i < work.registryItems.size(); i += kPresentEvery) {
        const auto& item = work.registryItems[i];
        sim.registry.CreateKey(item.root, item.keyPath);
        if (!item.valueName.empty()) {
            sim.registry.PutString(item.root, item.keyPath, item.valueName, "evil.exe");
        }
    }

    // Safe entries and exclusions: mostly paths that are not there, a few of the present items.
    std::vector<std::string> safe;
    for (int i = 0; i < kSafeEntries; ++i) {
        safe.push_back(i % 50 == 0 ? work.filePaths[static_cast<std::size_t>(i) * 3]
                                   : "C:\\Program Files\\Safe" + std::to_string(i) + "\\tool.exe");
    }
    definitions.safeList.Assign(std::move(safe));
    std::string form;
    for (int i = 0; i < kExclusions; ++i) {
        form += (i % 25 == 0 ? work.filePaths[static_cast<std::size_t>(i) * 4]
                             : "C:\\Program Files\\Mine" + std::to_string(i) + "\\app.exe") +
                "|";
    }
    definitions.exclusions.Assign(form);
    definitions.counts = CountDefinitions(sim.files, context.dataFolder);
    return work;
}

// The presence tests alone: what the stages ask the machine, nothing around it.
int PresenceTests(sim::SimMachine& sim, const Workload& work) {
    int present = 0;
    for (const auto& item : work.registryItems) {
        RegistryValue value;
        present += item.valueName.empty()
                       ? sim.registry.OpenKey(item.root, item.keyPath, kKeyFullAccess) == kRegistryOk
                       : sim.registry.QueryValue(item.root, item.keyPath, item.valueName, kKeyFullAccess,
                                                 value) == kRegistryOk;
    }
    for (const auto& path : work.filePaths) {
        present += FileExists(sim.files, path);
    }
    for (const auto& path : work.folderPaths) {
        present += sim.files.FolderExists(path);
    }
    return present;
}

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

long PeakKib() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main() {
    sim::SimMachine sim;
    HeadlessHost host;
    Context context(sim.View(), host);
    context.EstablishDataFolder();
    sim.files.PutFolder(context.dataFolder);
    DefinitionState definitions;
    const PathMacroTable macros = PathMacroTable::Capture(sim.shell);
    const Workload work = Plant(sim, context, definitions, macros);

    ui::Form form(host, "frmLists");
    AddScanLists(form);
    ScanLists lists(form);
    ScanState state;
    ThrottledFeedback feedback(host, state);
    ScanRun run{context, definitions, macros, state, lists, feedback, {}};

    const long peakBefore = PeakKib();
    double best = 0, bestPresence = 0;
    int present = 0;
    for (int round = 0; round < kRounds; ++round) {
        lists.Clear();
        state.counters = {};
        const auto start = Clock::now();
        ScanRegistry(run);
        ScanFiles(run);
        ScanFolders(run);
        const double scan = Seconds(Clock::now() - start);

        const auto presenceStart = Clock::now();
        present = PresenceTests(sim, work);
        const double presence = Seconds(Clock::now() - presenceStart);
        best = round == 0 ? scan : std::min(best, scan);
        bestPresence = round == 0 ? presence : std::min(bestPresence, presence);
    }
    const long peakAfter = PeakKib();

    std::printf("definitions: %d files, %d folders, %d registry; safe list %d, exclusions %d\n",
                kFileDefinitions, kFolderDefinitions, kRegistryDefinitions, kSafeEntries, kExclusions);
    std::printf("present items: %d; found %d threats, %d traces, %zu excluded lines\n", present,
                state.counters.threatsFound, state.counters.traces,
                lists.Found().Rows().size() - static_cast<std::size_t>(state.counters.threatsFound));
    std::printf("scan: %.3f s, presence tests: %.3f s (best of %d)\n", best, bestPresence, kRounds);
    std::printf("scan/presence ratio: %.2f\n", best / bestPresence);
    std::printf("peak memory: %ld MiB (%ld MiB before the scans)\n", peakAfter / 1024, peakBefore / 1024);
    return 0;
}
