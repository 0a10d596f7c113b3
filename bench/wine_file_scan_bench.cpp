// The file stage on real files (run it under Wine): 100,000 file definitions over 100 folders, 1% of
// them present, against the same number of bare presence tests of the prepared paths. Prints the ratio
// scan / presence tests. Its files live in a folder of the temporary folder and are removed at the end.
#include "platform/win32/windows_api.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "core/context.h"
#include "core/file_presence.h"
#include "definitions/definition_files.h"
#include "definitions/definition_records.h"
#include "definitions/definition_state.h"
#include "definitions/definition_status.h"
#include "definitions/line_code.h"
#include "platform/text_files.h"
#include "platform/win32/win32_machine.h"
#include "scan/file_scan.h"
#include "scan/folder_listing_cache.h"
#include "scan/recording_feedback.h"
#include "throttled_feedback.h"
#include "ui/headless_host.h"

namespace {

using namespace grimsweep;
using Clock = std::chrono::steady_clock;

constexpr int kDefinitions = 100000;
constexpr int kFolders = 100;
constexpr int kPresentEvery = 100;

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

std::string TempRoot() {
    wchar_t buffer[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, buffer);
    std::string path;
    for (const wchar_t* c = buffer; *c; ++c) {
        path += static_cast<char>(*c); // the temporary folder of a test prefix is plain ASCII
    }
    return path + "grimsweep-file-scan-bench";
}

} // namespace

int main() {
    win32::Win32Machine machine;
    HeadlessHost host;
    Context context(machine.View(), host);
    context.EstablishDataFolder();
    IFileSystem& files = machine.files;
    files.CreateFolder(context.dataFolder);

    const std::string root = TempRoot();
    files.DeleteFolder(root);
    files.CreateFolder(root);
    std::string definitionBytes;
    std::vector<std::string> paths;
    paths.reserve(kDefinitions);
    for (int folder = 0; folder < kFolders; ++folder) {
        files.CreateFolder(root + "\\folder" + std::to_string(folder));
    }
    for (int i = 0; i < kDefinitions; ++i) {
        const std::string folder = root + "\\folder" + std::to_string(i % kFolders);
        const std::string name = "item" + std::to_string(i) + ".dll";
        // Threat names in groups, so that most present files add only their hidden row.
        definitionBytes += EncodeDefinitionLine(name + "=Bench Threat " + std::to_string(i / 5000) + "|" +
                                                folder + "|Benchmark") +
                           std::string(kCrLf);
        paths.push_back(folder + "\\" + name);
        if ((i / kFolders) % kPresentEvery == 0) { // 1% of the names of every folder
            files.WriteFile(paths.back(), "bench");
        }
    }
    files.WriteFile(context.DataFile(kFileDefinitionFile), definitionBytes);

    DefinitionState definitions;
    definitions.counts = CountDefinitions(files, context.dataFolder);
    const PathMacroTable macros = PathMacroTable::Capture(machine.shell);
    ui::Form form(host, "frmLists");
    AddScanLists(form);
    ScanLists lists(form);
    ScanState state;
    ThrottledFeedback feedback(host, state);
    ScanRun run{context, definitions, macros, state, lists, feedback, {}};

    // Reading and preparing the definitions alone, for where the scan's time goes.
    const auto readStart = Clock::now();
    std::size_t prepared = 0;
    ForEachDefinitionLine(files, machine.system, context.DataFile(kFileDefinitionFile),
                          [&](const std::string& line) {
                              prepared += ParseFileDefinition(line, macros).fullPath.size();
                              return true;
                          });
    const double reading = Seconds(Clock::now() - readStart);

    {
        FolderListingCache probe(files);
        for (int ask = 0; ask < 3; ++ask) {
            probe.FileExists(paths[1]);
        }
        std::printf("cache probe on %s: %d listings, %d single tests, listable: %s\n", paths[1].c_str(),
                    probe.Listings(), probe.SingleTests(), SplitListablePath(paths[1]) ? "yes" : "no");
    }

    const auto scanStart = Clock::now();
    ScanFiles(run);
    const double scan = Seconds(Clock::now() - scanStart);

    const auto presenceStart = Clock::now();
    int present = 0;
    for (const auto& path : paths) {
        present += FileExists(files, path) ? 1 : 0;
    }
    const double presence = Seconds(Clock::now() - presenceStart);

    std::printf("file definitions: %d in %d folders; present: %d (scan listed %zu traces)\n", kDefinitions,
                kFolders, present, lists.Files().Rows().size());
    std::printf("file scan: %.3f s (reading and preparing the definitions: %.3f s), bare presence tests: "
                "%.3f s\n",
                scan, reading, presence);
    std::printf("file scan/presence ratio: %.2f\n", scan / presence);
    files.DeleteFolder(root);
    files.DeleteFile(context.DataFile(kFileDefinitionFile));
    return 0;
}
