// A Live Update of 10,000 records (ADD and DEL mixed over every kind, each DEL naming a line that is
// there) applied to six definition files of 100,000 lines each, against copying those six files once on
// the same file system. Prints the ratio apply / copy. The native build works on the simulated file
// system; the Windows build on real files in a folder of the temporary folder (run it under Wine),
// removed at the end.
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
constexpr int kRecords = 10000;
constexpr int kRounds = 3;
constexpr std::string_view kCopySuffix = ".copy";

// The files in the order the records below use them.
enum FileIndex { kFiles, kExes, kRegistry, kCookies, kFolders, kSafety, kFileCount };
constexpr std::array<std::string_view, kFileCount> kFileNames = {
    kFileDefinitionFile, kExeDefinitionFile,       kRegistryDefinitionFile,
    kBlockedCookiesFile, kDirectoryDefinitionFile, kSafetyFile};

// Numbers written without the digit 6, and names without the letter u: the encoded forms of "6" and "u"
// are the plain separators "=" and "|", so a record body cannot carry them.
std::string Id(int n) {
    static constexpr char kDigits[] = "012345789";
    std::string text;
    do {
        text.insert(text.begin(), kDigits[n % 9]);
        n /= 9;
    } while (n > 0);
    return text;
}

std::string Vendor(int n) {
    return "Vendor" + Id(n % 3000);
}

std::string Threat(int n) {
    return "Threat " + Id(n % 7000);
}

// The plain definition line `n` of a file, and the name a DEL record gives for it.
std::string PlainLine(FileIndex file, int n) {
    switch (file) {
    case kFiles:
        return "addon" + Id(n) + ".dll=" + Threat(n) + "|[progfil]" + Vendor(n) + (n % 3 ? "|Adware" : "");
    case kExes:
        return "agent" + Id(n) + ".exe=" + Threat(n) + "|[progfil]" + Vendor(n);
    case kRegistry:
        return (n % 2 ? "1^SOFTWARE\\" : "2^SOFTWARE\\") + Vendor(n) + "\\Component" + Id(n) + "^" +
               (n % 4 < 2 ? "" : "Start" + Id(n) + "^") + "=" + Threat(n) + "|Hijacker";
    case kCookies:
        return (n % 2 ? "*." : "ads.") + std::string("site") + Id(n) + ".example";
    case kFolders:
        return "Folder " + Id(n) + "=" + Threat(n) + "|[progfil]" + Vendor(n) + "\\Folder" + Id(n) +
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

// The body an ADD record of this kind sends for a new line `n` of the file.
std::string AddBody(FileIndex file, int n) {
    if (file == kRegistry) {
        // name "=" threat "|" hive and key "|" details
        return "component" + Id(n) + "=" + Threat(n) + "|2^SOFTWARE\\" + Vendor(n) + "\\Component" + Id(n) +
               "|Hijacker";
    }
    if (file == kSafety) {
        return PlainLine(file, n).substr(std::string_view("SDLL|").size());
    }
    return PlainLine(file, n);
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

// The update text: records alternate ADD and DEL and run through the kinds; each DEL names a different
// existing line of its file, spread over the whole file.
std::string UpdateText() {
    std::array<int, kFileCount> deletions{};
    std::string text;
    for (int i = 0; i < kRecords; ++i) {
        const Kind& kind = kKinds[static_cast<std::size_t>(i) % kKinds.size()];
        std::string plain;
        if (i % 2 == 0) {
            plain = std::string(kind.name) + "|ADD|" + AddBody(kind.file, kLinesPerFile + i);
        } else {
            const int line = (deletions[kind.file]++ * 7919) % kLinesPerFile;
            plain = std::string(kind.name) + "|DEL|" + NameOfLine(kind.file, line);
        }
        if (!text.empty()) {
            text += kRecordSeparator;
        }
        text += WireRecord(plain).value();
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
    const std::string text = UpdateText();
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
    files.DeleteFolder(context.dataFolder);

    std::size_t bytes = 0;
    for (const std::string& file : stored) {
        bytes += file.size();
    }
    std::printf("%s: %d definition files of %d lines (%.1f MiB in all), %d update records (%zu bytes)\n",
                kFilesName, kFileCount, kLinesPerFile, static_cast<double>(bytes) / (1024 * 1024), kRecords,
                text.size());
    std::printf("applied: %d changes; lines %d before, %zu after\n", changes, kFileCount * kLinesPerFile,
                linesAfter);
    std::printf("apply: %.3f s, copying the six files: %.3f s (best of %d)\n", bestApply, bestCopy, kRounds);
    std::printf("apply/copy ratio: %.2f\n", bestApply / bestCopy);
    return 0;
}
