// Safe-list and exclusion lookups on a large definition set: the hashed lookups against the plain
// linear walks they replace. Prints the ratio linear / hashed per call at the end.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "definitions/exclusion_list.h"
#include "definitions/linear_reference.h"
#include "definitions/safe_list.h"

namespace {

using namespace grimsweep;

constexpr std::size_t kSafeEntries = 20000;
constexpr std::size_t kExclusions = 5000;
constexpr std::size_t kProbes = 256;

std::string FilePath(std::mt19937& random) {
    return "C:\\Program Files\\Vendor" + std::to_string(random() % 5000) + "\\Module" +
           std::to_string(random() % 100000) + ".dll";
}

std::string RegistryPath(std::mt19937& random) {
    return "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor" + std::to_string(random() % 5000) + "\\Component" +
           std::to_string(random() % 100000);
}

struct Data {
    std::vector<std::string> safeEntries;
    SafeList safeList;
    std::string exclusionForm;
    ExclusionList exclusions;
    std::vector<std::string> safeProbes;
    std::vector<std::string> exclusionProbes;
};

const Data& TheData() {
    static const Data data = [] {
        Data d;
        std::mt19937 random(42);
        for (std::size_t i = 0; i < kSafeEntries; ++i) {
            d.safeEntries.push_back(i % 2 ? FilePath(random) : RegistryPath(random));
        }
        d.safeList.Assign(d.safeEntries);
        std::vector<std::string> excluded;
        for (std::size_t i = 0; i < kExclusions; ++i) {
            excluded.push_back(FilePath(random));
            d.exclusionForm += excluded.back() + "|";
        }
        d.exclusions.Assign(d.exclusionForm);
        // Half the probes hit (in another case, with a trailing backslash), half miss.
        for (std::size_t i = 0; i < kProbes; ++i) {
            if (i % 2) {
                d.safeProbes.push_back(ToUpper(d.safeEntries[random() % kSafeEntries]) + "\\");
                d.exclusionProbes.push_back(ToLower(excluded[random() % kExclusions]));
            } else {
                d.safeProbes.push_back(FilePath(random));
                d.exclusionProbes.push_back(FilePath(random));
            }
        }
        return d;
    }();
    return data;
}

template <typename Lookup>
void RunProbes(benchmark::State& state, const std::vector<std::string>& probes, Lookup lookup) {
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(lookup(probes[i++ % probes.size()]));
    }
}

void SafeLinear(benchmark::State& state) {
    const Data& d = TheData();
    RunProbes(state, d.safeProbes,
              [&](const std::string& p) { return reference::LinearIsSafeItem(d.safeEntries, p); });
}
void SafeHashed(benchmark::State& state) {
    const Data& d = TheData();
    RunProbes(state, d.safeProbes, [&](const std::string& p) { return d.safeList.IsSafeItem(p); });
}
void ExcludedLinear(benchmark::State& state) {
    const Data& d = TheData();
    RunProbes(state, d.exclusionProbes,
              [&](const std::string& p) { return reference::LinearIsExcluded(d.exclusionForm, p); });
}
void ExcludedHashed(benchmark::State& state) {
    const Data& d = TheData();
    RunProbes(state, d.exclusionProbes, [&](const std::string& p) { return d.exclusions.IsExcluded(p); });
}
void ExcludedFolderLinear(benchmark::State& state) {
    const Data& d = TheData();
    RunProbes(state, d.exclusionProbes,
              [&](const std::string& p) { return reference::LinearIsExcludedFolder(d.exclusionForm, p); });
}
void ExcludedFolderIndexed(benchmark::State& state) {
    const Data& d = TheData();
    RunProbes(state, d.exclusionProbes,
              [&](const std::string& p) { return d.exclusions.IsExcludedFolder(p); });
}

BENCHMARK(SafeLinear);
BENCHMARK(SafeHashed);
BENCHMARK(ExcludedLinear);
BENCHMARK(ExcludedHashed);
BENCHMARK(ExcludedFolderLinear);
BENCHMARK(ExcludedFolderIndexed);

// Keeps the time per call of every run so that the ratios can be printed after the table.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& run : runs) {
            nanosecondsPerCall[run.benchmark_name()] = run.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> nanosecondsPerCall;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto ratio = [&](const char* label, const char* linear, const char* hashed, const char* note) {
        const auto& t = reporter.nanosecondsPerCall;
        if (t.count(linear) && t.count(hashed) && t.at(hashed) > 0) {
            std::printf("%-44s %8.1fx  %s\n", label, t.at(linear) / t.at(hashed), note);
        }
    };
    std::printf("\nRatio linear / hashed per call (%zu safe entries, %zu exclusions):\n", kSafeEntries,
                kExclusions);
    ratio("IsSafeItem", "SafeLinear", "SafeHashed", "(target at least 50x)");
    ratio("IsExcluded", "ExcludedLinear", "ExcludedHashed", "(target at least 50x)");
    ratio("IsExcludedFolder (substring rule: one search)", "ExcludedFolderLinear", "ExcludedFolderIndexed",
          "(linear in the list by its rule)");
    benchmark::Shutdown();
    return 0;
}
