#include "scan/process_stop.h"

#include <functional>
#include <vector>

#include "common/case_folding.h"
#include "common/text.h"
#include "core/context.h"
#include "scan/process_list.h"
#include "scan/system_path.h"

namespace grimsweep {

namespace {

constexpr std::size_t kComparableLength = 15;
constexpr std::size_t kShortStemLength = 6;
constexpr std::string_view kExeExtension = ".exe";
constexpr std::string_view kShortSuffix = "~1";

// What a look at the process just before an attempt says.
enum class Target { Ready, Gone, Other, Unchecked };

// Up to kStopAttempts terminations, each after `look` allows it; a failed attempt is followed by a short
// wait in case the process was already on its way out.
ThreatStop StopWithAttempts(const Machine& machine, std::uint32_t id, const std::function<Target()>& look) {
    for (int attempt = 0; attempt < kStopAttempts; ++attempt) {
        switch (look()) {
        case Target::Gone:
            return ThreatStop::Ended;
        case Target::Other:
            return ThreatStop::OtherProgram;
        case Target::Ready:
            if (TerminateWithDebugPrivilege(machine, id, 0)) {
                return ThreatStop::Stopped;
            }
            break;
        case Target::Unchecked:
            break;
        }
        if (machine.processes.WaitForExit(id, kStopWaitMilliseconds)) {
            return ThreatStop::Ended;
        }
    }
    return ThreatStop::Failed;
}

// The form two image paths are compared in: the system folder's aliases resolved, short elements long,
// case folded.
std::string ComparableImagePath(const Machine& machine, std::string_view path) {
    std::string normal = NormaliseSystemPath(Trim(path), machine.system.SystemFolder());
    if (auto longPath = machine.files.LongPathName(normal)) {
        normal = std::move(*longPath);
    }
    return FoldCase(normal);
}

} // namespace

bool TerminateWithDebugPrivilege(const Machine& machine, std::uint32_t id, std::uint32_t exitCode) {
    const bool nt = machine.system.GetOsVersion().platformId != kPlatformWin9x;
    return machine.processes.Terminate(id, exitCode, nt);
}

std::string ComparableProcessName(std::string_view name) {
    if (name.size() > kComparableLength) {
        return std::string(name.substr(0, kComparableLength));
    }
    return std::string(name.substr(0, name.find('.')));
}

std::string ShortProcessName(std::string_view target) {
    std::string stem = ReplaceAllIgnoreCase(target, kExeExtension, "");
    if (stem.size() > kShortStemLength) {
        stem.resize(kShortStemLength);
    }
    return ToUpper(stem) + std::string(kShortSuffix);
}

bool StopProcessByName(Context& context, std::string_view target) {
    const std::string shortName = ShortProcessName(target);
    std::vector<std::string> names;
    std::vector<std::uint32_t> ids;
    const int count = ListProcesses(context.machine.processes, names, ids, {}, true);
    const std::string wanted = Trim(ComparableProcessName(target));
    for (int i = 0; i < count; ++i) {
        const std::string comparable = ComparableProcessName(AfterLastBackslash(names[i]));
        const bool matches = EqualsFolded(Trim(comparable), wanted) || EqualsFolded(comparable, shortName);
        context.host.PumpMessages();
        if (matches) {
            const std::uint32_t id = ids[i];
            return StopWithAttempts(context.machine, id, [] { return Target::Ready; }) != ThreatStop::Failed;
        }
    }
    return true;
}

bool StopProcessesRunningFile(Context& context, std::string_view path) {
    const std::string target = AfterLastBackslash(path);
    const std::string shortName = ShortProcessName(target);
    const std::string wanted = Trim(ComparableProcessName(target));
    std::vector<std::string> names;
    std::vector<std::uint32_t> ids;
    const int count = ListProcesses(context.machine.processes, names, ids, {}, true);
    bool stopped = true;
    for (int i = 0; i < count; ++i) {
        const std::string comparable = ComparableProcessName(AfterLastBackslash(names[i]));
        context.host.PumpMessages();
        if (EqualsFolded(Trim(comparable), wanted) || EqualsFolded(comparable, shortName)) {
            if (StopRunningThreat(context.machine, ids[i], path) == ThreatStop::Failed) {
                stopped = false;
            }
        }
    }
    return stopped;
}

ThreatStop StopRunningThreat(const Machine& machine, std::uint32_t id, std::string_view imagePath) {
    const std::string expected = ComparableImagePath(machine, imagePath);
    return StopWithAttempts(machine, id, [&] {
        const MainModule module = machine.processes.QueryMainModule(id);
        if (module.status != ModuleQueryStatus::Ok || module.fullPath.empty()) {
            // Not open to the query: either it has ended, or it cannot be checked now.
            return machine.processes.WaitForExit(id, 0) ? Target::Gone : Target::Unchecked;
        }
        return ComparableImagePath(machine, module.fullPath) == expected ? Target::Ready : Target::Other;
    });
}

} // namespace grimsweep
