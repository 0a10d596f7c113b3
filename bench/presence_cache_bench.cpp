// Presence tests of many definitions that name one large folder: one directory query per path against
// the folder listing cache. Under Wine a query for an absent name, or for a present name in another
// case, reads the whole folder; the cache reads it once. The Windows build works on real files in the
// temporary folder (run it under Wine); the native build on the simulated file system, as a check that
// it runs and both give the same answers.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "common/text.h"
#include "core/file_presence.h"
#include "scan/folder_listing_cache.h"
#ifdef _WIN32
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/windows_api.h"
#else
#include "platform/sim/sim_file_system.h"
#endif

namespace {

using namespace grimsweep;

#ifdef _WIN32
using FileSystem = win32::Win32FileSystem;
constexpr const char* kFilesName = "Win32 files";
std::string BenchRoot() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    return win32::Narrow(temp) + "grimsweep-presence-bench";
}
#else
using FileSystem = sim::SimFileSystem;
constexpr const char* kFilesName = "simulated files";
std::string BenchRoot() {
    return "C:\\grimsweep-presence-bench";
}
#endif

constexpr int kFolderFiles = 5000;
constexpr int kDefinitions = 30000;

std::string FileName(int i) {
    char name[32];
    std::snprintf(name, sizeof name, "Module_%05d.dll", i);
    return name;
}

// A folder of `count` files (made once, kept for the next run).
std::string MakeFolder(FileSystem& files, const std::string& root, int count) {
    const std::string folder = root + "\\folder" + std::to_string(count);
    files.CreateFolder(root);
    if (!files.FolderExists(folder) || files.FindEntries(folder + "\\*").size() != std::size_t(count)) {
        files.DeleteFolder(folder);
        files.CreateFolder(folder);
        for (int i = 0; i < count; ++i) {
            files.WriteFile(folder + "\\" + FileName(i), "MZ");
        }
    }
    return folder;
}

// Definition paths into the folder: 1 in 100 a present file in its own case, 1 in 5 a present file in
// another case (present as well, but as slow to find as an absent one), the rest absent names.
std::vector<std::string> DefinitionPaths(const std::string& folder) {
    std::vector<std::string> paths;
    for (int i = 0; i < kDefinitions; ++i) {
        const int file = (i * 7919) % kFolderFiles;
        if (i % 100 == 0) {
            paths.push_back(folder + "\\" + FileName(file));
        } else if (i % 5 == 0) {
            paths.push_back(folder + "\\" + ToUpper(FileName(file)));
        } else {
            paths.push_back(folder + "\\absent_" + std::to_string(i) + ".dll");
        }
    }
    return paths;
}

double Seconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// What one listing of a folder costs in absent-name tests of the same folder: the number of questions
// after which listing a folder has paid for itself.
void CompareListingWithTests(FileSystem& files, const std::string& root) {
    std::printf("folder files   listing   absent test   listing / test\n");
    for (int count : {50, 500, kFolderFiles}) {
        const std::string folder = MakeFolder(files, root, count);
        const double listing = Seconds([&] { files.FindEntries(folder + "\\*"); });
        constexpr int kTests = 20;
        const double test = Seconds([&] {
                                for (int i = 0; i < kTests; ++i) {
                                    FileExists(files, folder + "\\absent" + std::to_string(i) + ".dll");
                                }
                            }) /
                            kTests;
        std::printf("%12d %7.2f ms %10.1f us %14.1f\n", count, listing * 1e3, test * 1e6,
                    test > 0 ? listing / test : 0.0);
    }
}

} // namespace

// presence_cache_bench [SAMPLE]: the per-definition tests run on every SAMPLE-th path (10) and are
// scaled to all 30,000; 1 runs them all.
int main(int argc, char** argv) {
    const int sample = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    FileSystem files;
    const std::string root = BenchRoot();
    std::printf("Presence tests on %s: %d definitions naming a folder of %d files\n", kFilesName,
                kDefinitions, kFolderFiles);
    CompareListingWithTests(files, root);

    const std::string folder = MakeFolder(files, root, kFolderFiles);
    const auto paths = DefinitionPaths(folder);

    int presentSingle = 0;
    int tested = 0;
    const double single = Seconds([&] {
        for (std::size_t i = 0; i < paths.size(); i += sample) {
            presentSingle += FileExists(files, paths[i]) ? 1 : 0;
            ++tested;
        }
    });
    const double singleAll = single * kDefinitions / tested;

    int presentCached = 0;
    int presentCachedSample = 0;
    FolderListingCache cache(files);
    const double cached = Seconds([&] {
        for (std::size_t i = 0; i < paths.size(); ++i) {
            const bool present = cache.FileExists(paths[i]);
            presentCached += present ? 1 : 0;
            presentCachedSample += present && i % sample == 0 ? 1 : 0;
        }
    });

    std::printf("per-definition tests: %d paths in %.2f s, %.0f us each; all %d: %.2f s%s\n", tested, single,
                single / tested * 1e6, kDefinitions, singleAll, sample > 1 ? " (scaled)" : "");
    std::printf("listing cache: all %d paths in %.3f s (%d listing, %d single tests), %d present\n",
                kDefinitions, cached, cache.Listings(), cache.SingleTests(), presentCached);
    if (presentCachedSample != presentSingle) {
        std::printf("ANSWERS DIFFER: %d present by single tests, %d by the cache\n", presentSingle,
                    presentCachedSample);
        return 1;
    }
    std::printf("presence cache speed-up: %.0fx\n", cached > 0 ? singleAll / cached : 0.0);
    return 0;
}
