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

// What one attempt at stopping the process came to.
enum class Attempt { Stopped, Gone, Other, Retry };

// Up to kStopAttempts attempts; one that did not stop the process is followed by a short wait in case it
// was already on its way out.
ThreatStop StopWithAttempts(const Machine& machine, std::uint32_t id,
                            const std::function<Attempt()>& attempt) {
    for (int i = 0; i < kStopAttempts; ++i) {
        switch (attempt()) {
        case Attempt::Stopped:
            return ThreatStop::Stopped;
        case Attempt::Gone:
            return ThreatStop::Ended;
        case Attempt::Other:
            return ThreatStop::OtherProgram;
        case Attempt::Retry:
            break;
        }
        if (machine.processes.WaitForExit(id, kStopWaitMilliseconds)) {
            return ThreatStop::Ended;
        }
    }
    return ThreatStop::Failed;
}

// The 95/98/Me family has no privileges to ask for.
bool WantsDebugPrivilege(const Machine& machine) {
    return machine.system.GetOsVersion().platformId != kPlatformWin9x;
}

// Attempts that each open the process once, check its image and terminate it through that same handle.
ThreatStop CheckedStopWithAttempts(const Machine& machine, std::uint32_t id, const ImageCheck& isExpected) {
    return StopWithAttempts(machine, id, [&] {
        switch (machine.processes.TerminateIfImage(id, isExpected, 0, WantsDebugPrivilege(machine))) {
        case CheckedStop::Terminated:
            return Attempt::Stopped;
        case CheckedStop::Gone:
            return Attempt::Gone;
        case CheckedStop::OtherProgram:
            return Attempt::Other;
        case CheckedStop::CannotOpen:
        case CheckedStop::TerminateFailed:
            break;
        }
        return Attempt::Retry;
    });
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

// A process name, or the file name of a path, matched against a target by its comparable and short forms.
class ProcessNameForms {
public:
    explicit ProcessNameForms(std::string_view target)
        : wanted_(Trim(ComparableProcessName(target))), shortName_(ShortProcessName(target)) {}

    bool Match(std::string_view nameOrPath) const {
        const std::string comparable = ComparableProcessName(AfterLastBackslash(nameOrPath));
        return EqualsFolded(Trim(comparable), wanted_) || EqualsFolded(comparable, shortName_);
    }

private:
    std::string wanted_;
    std::string shortName_;
};

} // namespace

bool TerminateWithDebugPrivilege(const Machine& machine, std::uint32_t id, std::uint32_t exitCode) {
    return machine.processes.Terminate(id, exitCode, WantsDebugPrivilege(machine));
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
    const ProcessNameForms forms(target);
    std::vector<std::string> names;
    std::vector<std::uint32_t> ids;
    const int count = ListProcesses(context.machine.processes, names, ids, {}, true);
    for (int i = 0; i < count; ++i) {
        const bool matches = forms.Match(names[i]);
        context.host.PumpMessages();
        if (matches) {
            // Stopped only while its image still has a matching name: the identifier may have passed to
            // another program since the list was taken.
            return CheckedStopWithAttempts(context.machine, ids[i], [&](const std::string& image) {
                       return forms.Match(image);
                   }) != ThreatStop::Failed;
        }
    }
    return true;
}

bool StopProcessesRunningFile(Context& context, std::string_view path) {
    const ProcessNameForms forms(AfterLastBackslash(path));
    std::vector<std::string> names;
    std::vector<std::uint32_t> ids;
    const int count = ListProcesses(context.machine.processes, names, ids, {}, true);
    bool stopped = true;
    for (int i = 0; i < count; ++i) {
        context.host.PumpMessages();
        if (forms.Match(names[i]) && StopRunningThreat(context.machine, ids[i], path) == ThreatStop::Failed) {
            stopped = false;
        }
    }
    return stopped;
}

ThreatStop StopRunningThreat(const Machine& machine, std::uint32_t id, std::string_view imagePath) {
    const std::string expected = ComparableImagePath(machine, imagePath);
    return CheckedStopWithAttempts(machine, id, [&](const std::string& image) {
        return ComparableImagePath(machine, image) == expected;
    });
}

} // namespace grimsweep
