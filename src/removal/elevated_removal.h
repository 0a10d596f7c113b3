// The removal as administrator. A user without an administrator's rights can see items stay after a
// removal: a file in Program Files, a machine-wide registry value, a program another user runs. The
// removal then asks once whether to go on as administrator. If the user agrees, what stayed is written as
// a job into the data folder and "gscan remove-listed JOB DIGEST" is started through Windows' elevation
// prompt. That removal backs the items up into the same user's quarantine, and refuses a job whose
// SHA-256 digest is not the one the user's program passed: a job file changed after the user agreed is
// never carried out with an administrator's rights.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/control.h"

namespace grimsweep {

class Context;

inline constexpr std::string_view kElevatedRemovalJobName = "ElevatedRemoval.txt";
inline constexpr std::string_view kRemoveListedCommand = "remove-listed";
inline constexpr std::string_view kConsoleProgramName = "gscan.exe";
// The exit code of a removal as administrator that refused its job and touched nothing.
inline constexpr std::uint32_t kRemovalJobRefused = 2;

// The removal's lists a job row belongs to: the three hidden per-kind lists and the removal list.
enum class JobList { Files, Registry, Cookies, Removal };

struct JobRow {
    JobList list = JobList::Files;
    ui::ListRow row; // ticked when the job is read
};

struct RemovalJob {
    std::string dataFolder; // the user's: the quarantine and its log are there
    std::vector<JobRow> rows;
};

std::string RemovalJobText(const RemovalJob& job);
// Nothing when the text is not a job: a wrong first line, an unknown list, a field that does not decode.
std::optional<RemovalJob> ParseRemovalJob(std::string_view text);

enum class ElevatedRemovalResult {
    Ran,      // the removal as administrator ended; what it removed is gone
    Declined, // the user said no to Windows' question
    Failed,   // the job could not be written or the removal could not start
};

// Writes the job into the data folder, runs the console program beside this one as administrator and
// waits for it, letting window messages run. The job file is deleted afterwards.
ElevatedRemovalResult RunRemovalAsAdministrator(Context& context, const RemovalJob& job);

// The elevated side: the job at `path` when its bytes have the SHA-256 digest `digestHex`.
std::optional<RemovalJob> ReadCheckedRemovalJob(Context& context, const std::string& path,
                                                std::string_view digestHex);

} // namespace grimsweep
