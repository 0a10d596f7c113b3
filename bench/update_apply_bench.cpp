// Live Updates applied to six definition files of 100,000 lines each, against copying those six files
// once on the same file system; each prints the ratio apply / copy:
// - 10,000 records, ADD and DEL mixed over every kind, each DEL naming a line that is there;
// - 450,000 DEL/ADD pairs, each replacing a line that is there (half the DELs the bare name, which the
//   ADD cancels where its name is the line's, half the whole old line, which the rewrite drops): the
//   pending deletions grow to hundreds of thousands, and every ADD looks among them for the ones it
//   cancels.
// The native build works on the simulated file system; the Windows build on real files in a folder of
// the temporary folder (run it under Wine), removed at the end.
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "core/context.h"
#include "definitions/definition_files.h"
#include "definitions/line_code.h"
#include "platform/text_files.h"
#include "ui/control.h"
#include "ui/form.h"
#include "ui/headless_host.h"
#include "update/definition_publisher.h"
#include "update/http_fetch.h"
#include "update/update_records.h"
#ifdef _WIN32
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_machine.h"
#include "platform/win32/windows_api.h"
#else
#include "platform/sim/sim_machine.h"
#endif

namespace {

using namespace grimsweep;
using Clock = std::chrono::steady_clock;

#ifdef _WIN32
using BenchMachine = win32::Win32Machine;
constexpr const char* kFilesName = "Win32 files";
#else
using BenchMachine = sim::SimMachine;
constexpr const char* kFilesName = "simulated files";
#endif

constexpr int kLinesPerFile = 100000;
constexpr int kMixedRecords = 10000;
constexpr int kPairs = 450000;
constexpr int kRounds = 3;
constexpr std::string_view kCopySuffix = ".copy";

// The files in the order the records below use them.
enum FileIndex { kFiles, kExes, kRegistry, kCookies, kFolders, kSafety, kFileCount };
constexpr std::array<std::string_view, kFileCount> kFileNames = {
    kFileDefinitionFile, kExeDefinitionFile,       kRegistryDefinitionFile,
    kBlockedCookiesFile, kDirectoryDefinitionFile, kSafetyFile};

std::string Id(int n) {
    return std::to_string(n);
}

std::string Vendor(int n) {
    return "Vendor" + Id(n % 3000);
}

// A replaced line differs from the old one in its threat name.
std::string Threat(int n, bool replaced = false) {
    return "Threat " + Id(n % 7000) + (replaced ? " 2" : "");
}

// The plain definition line `n` of a file, and the name a DEL record gives for it.
std::string PlainLine(FileIndex file, int n, bool replaced = false) {
    switch (file) {
    case kFiles:
        return "addon" + Id(n) + ".dll=" + Threat(n, replaced) + "|[progfil]" + Vendor(n) +
               (n % 3 ? "|Adware" : "");
    case kExes:
        return "agent" + Id(n) + ".exe=" + Threat(n, replaced) + "|[progfil]" + Vendor(n);
    case kRegistry:
        return (n % 2 ? "1^SOFTWARE\\" : "2^SOFTWARE\\") + Vendor(n) + "\\Component" + Id(n) + "^" +
               (n % 4 < 2 ? "" : "Start" + Id(n) + "^") + "=" + Threat(n, replaced) + "|Hijacker";
    case kCookies:
        return (n % 2 ? "*." : "ads.") + std::string("site") + Id(n) + ".example" + (replaced ? "=2" : "");
    case kFolders:
        return "Folder " + Id(n) + "=" + Threat(n, replaced) + "|[progfil]" + Vendor(n) + "\\Folder" + Id(n) +
               "|Adware";
    case kSafety:
        return "SDLL|lib" + Id(n) + ".dll=1.0|[system]lib" + Id(n) + ".dll|Clearbrook Tools";
    case kFileCount:
        break;
    }
    return {};
}

std::string NameOfLine(FileIndex file, int n) {
    const std::string line = PlainLine(file, n);
    return line.substr(0, line.find('='));
}

// The body an ADD record of this kind sends for line `n` of the file: a new line, or the replacement of
// line `n`, whose stored name is that of the old line (the cookie's "=2" is not stored).
std::string AddBody(FileIndex file, int n, bool replaced = false) {
    if (file == kRegistry) {
        // name "=" threat "|" hive and key "|" details; the stored name is the hive and key
        const std::string line = PlainLine(file, n, replaced);
        const std::size_t equals = line.find('=');
        const std::size_t bar = line.find('|', equals);
        return "component" + Id(n) + "=" + line.substr(equals + 1, bar - equals - 1) + "|" +
               line.substr(0, equals - 1) + "|" + line.substr(bar + 1);
    }
    if (file == kSafety) {
        return PlainLine(file, n, replaced).substr(std::string_view("SDLL|").size());
    }
    return PlainLine(file, n, replaced);
}

struct Kind {
    std::string_view name;
    FileIndex file; // the file whose lines its DEL records name
};

// Every kind of record, each deleting from its own file (FILE and DLL both from FileDefinition.dat).
constexpr std::array<Kind, 7> kKinds = {{{"FILE", kFiles},
                                         {"EXE", kExes},
                                         {"DLL", kFiles},
                                         {"REG", kRegistry},
                                         {"COOK", kCookies},
                                         {"DIR", kFolders},
                                         {"SDLL", kSafety}}};

void AppendRecord(std::string& text, const std::string& plain) {
    if (!text.empty()) {
        text += kRecordSeparator;
    }
    text += WireRecord(plain).value();
}

// The mixed update: records alternate ADD and DEL and run through the kinds; each DEL names a different
// existing line of its file, spread over the whole file.
std::string MixedUpdateText() {
    std::array<int, kFileCount> deletions{};
    std::string text;
    for (int i = 0; i < kMixedRecords; ++i) {
        const Kind& kind = kKinds[static_cast<std::size_t>(i) % kKinds.size()];
        if (i % 2 == 0) {
            AppendRecord(text, std::string(kind.name) + "|ADD|" + AddBody(kind.file, kLinesPerFile + i));
        } else {
            const int line = (deletions[kind.file]++ * 7919) % kLinesPerFile;
            AppendRecord(text, std::string(kind.name) + "|DEL|" + NameOfLine(kind.file, line));
        }
    }
    return text;
}

// The replacing update: pairs run through the kinds, each a DEL of an existing line (every other one by
// its bare name, the rest by the whole line) and the ADD of its replacement.
std::string PairsUpdateText() {
    std::array<int, kFileCount> replaced{};
    std::string text;
    for (int i = 0; i < kPairs; ++i) {
        const Kind& kind = kKinds[static_cast<std::size_t>(i) % kKinds.size()];
        const int line = (replaced[kind.file]++ * 7919) % kLinesPerFile;
        const std::string old = i % 2 == 0 ? NameOfLine(kind.file, line) : PlainLine(kind.file, line);
        AppendRecord(text, std::string(kind.name) + "|DEL|" + old);
        AppendRecord(text, std::string(kind.name) + "|ADD|" + AddBody(kind.file, line, true));
    }
    return text;
}

std::array<std::string, kFileCount> StoredFiles() {
    std::array<std::string, kFileCount> files;
    for (int file = 0; file < kFileCount; ++file) {
        for (int n = 0; n < kLinesPerFile; ++n) {
            files[file] +=
                EncodeDefinitionLine(PlainLine(static_cast<FileIndex>(file), n)) + std::string(kCrLf);
        }
    }
    return files;
}

std::size_t LineCount(const std::string& bytes) {
    return static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n'));
}

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

#ifdef _WIN32
std::string BenchFolder() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    return win32::Narrow(temp) + "grimsweep-update-apply-bench";
}
#else
std::string BenchFolder() {
    return "C:\\grimsweep-update-apply-bench";
}
#endif

// Applies `text` to freshly written files and copies the same files, best of kRounds each, and prints
// the figures and the ratio apply / copy.
void Measure(const char* title, const std::string& text, Context& context, ui::Control& status,
             const std::array<std::string, kFileCount>& stored) {
    IFileSystem& files = context.machine.files;
    const auto writeFiles = [&] {
        for (int file = 0; file < kFileCount; ++file) {
            files.WriteFile(context.DataFile(kFileNames[file]), stored[file]);
        }
    };
    double bestApply = 0, bestCopy = 0;
    int changes = 0;
    std::size_t linesAfter = 0;
    for (int round = 0; round < kRounds; ++round) {
        writeFiles();
        const auto applyStart = Clock::now();
        changes = ApplyUpdateRecords(context, text, &status);
        const double apply = Seconds(Clock::now() - applyStart);
        linesAfter = 0;
        for (std::string_view name : kFileNames) {
            linesAfter += LineCount(files.ReadFile(context.DataFile(name)).value_or(""));
        }

        writeFiles();
        const auto copyStart = Clock::now();
        for (std::string_view name : kFileNames) {
            const std::string path = context.DataFile(name);
            files.CopyFile(path, path + std::string(kCopySuffix), false);
        }
        const double copy = Seconds(Clock::now() - copyStart);
        for (std::string_view name : kFileNames) {
            files.DeleteFile(context.DataFile(name) + std::string(kCopySuffix));
        }
        bestApply = round == 0 ? apply : std::min(bestApply, apply);
        bestCopy = round == 0 ? copy : std::min(bestCopy, copy);
    }
    std::printf("%s: %.1f MiB of update text (the fetch takes at most %.0f MiB)\n", title,
                static_cast<double>(text.size()) / (1024 * 1024),
                static_cast<double>(kMaxFetchBytes) / (1024 * 1024));
    std::printf("  applied: %d changes; lines %d before, %zu after\n", changes, kFileCount * kLinesPerFile,
                linesAfter);
    std::printf("  apply: %.3f s, copying the six files: %.3f s (best of %d)\n", bestApply, bestCopy,
                kRounds);
    std::printf("  apply/copy ratio: %.2f\n", bestApply / bestCopy);
}

} // namespace

int main() {
    BenchMachine machine;
    HeadlessHost host;
    Context context(machine.View(), host);
    IFileSystem& files = machine.files;
    context.dataFolder = BenchFolder();
    files.DeleteFolder(context.dataFolder);
    files.CreateFolder(context.dataFolder);
    ui::Form form(host, "frmDownload");
    ui::Control& status = form.Add("txtStatus", ui::ControlType::TextBox);

    const std::array<std::string, kFileCount> stored = StoredFiles();
    std::size_t bytes = 0;
    for (const std::string& file : stored) {
        bytes += file.size();
    }
    std::printf("%s: %d definition files of %d lines (%.1f MiB in all)\n", kFilesName, kFileCount,
                kLinesPerFile, static_cast<double>(bytes) / (1024 * 1024));
    Measure((std::to_string(kMixedRecords) + " ADD and DEL records").c_str(), MixedUpdateText(), context,
            status, stored);
    Measure((std::to_string(kPairs) + " DEL/ADD pairs").c_str(), PairsUpdateText(), context, status, stored);
    files.DeleteFolder(context.dataFolder);
    return 0;
}
