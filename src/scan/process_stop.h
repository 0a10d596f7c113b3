// Stopping running programs: by name (removal, the memory alert's STOP answer) and by the process the
// scan found (the process scan), which stops only that program and never another of the same name.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/machine.h"

namespace grimsweep {

class Context;

inline constexpr int kStopAttempts = 11;
inline constexpr std::uint32_t kStopWaitMilliseconds = 1;

// Terminates the process with all access. On the NT family the program's own token holds
// SeDebugPrivilege around the call; the 95/98/Me family has no privileges. True when the termination
// call succeeded.
bool TerminateWithDebugPrivilege(const Machine& machine, std::uint32_t id, std::uint32_t exitCode);

// The name forms StopProcessByName compares. Comparable form: the first 15 characters of a name of 16 or
// more, otherwise the name up to its first ".". Short form: the name without any ".exe", cut to 6
// characters when it has 7 or more, upper-cased, with "~1" appended (the 8.3 name Windows lists for it).
std::string ComparableProcessName(std::string_view name);
std::string ShortProcessName(std::string_view target);

// Stops the first running process whose name matches the target by those forms, wherever it runs from;
// its image's file name must still match when it is opened to be stopped. True when it stopped or ended, and
// when no process matches; false when it is still running after every attempt. Lets window messages run once
// per process looked at.
bool StopProcessByName(Context& context, std::string_view target);

// Stops every running process whose image is the file at `path`, found among the processes of a
// matching name (by the forms above); one of that name running from another file is left alone. True
// when no process runs from the file any more; false when one could not be stopped.
bool StopProcessesRunningFile(Context& context, std::string_view path);

enum class ThreatStop {
    Stopped,      // terminated
    Ended,        // gone before or while it was being stopped
    OtherProgram, // the identifier now belongs to another program, which is left running
    Failed,       // still running after every attempt, or its image could not be checked
};

// Stops the process `id` only while its image is still `imagePath`, checked on every attempt through the
// handle that terminates it.
// Paths compare without case, after NormaliseSystemPath and with short (8.3) elements in their long form.
ThreatStop StopRunningThreat(const Machine& machine, std::uint32_t id, std::string_view imagePath);

// The program the scan found no longer runs.
inline bool ThreatGone(ThreatStop stop) {
    return stop != ThreatStop::Failed;
}

} // namespace grimsweep
