// The four ways an item goes into the quarantine: executables, COM servers, other files and folders,
// cookies. Each backs the item up, deletes it and records it in the log and the index. Nothing is
// deleted unless its backup has been checked against it and the record of it can be written: an item
// whose backup fails stays where it is, and the removal's check finds it there afterwards. A file is
// recorded once its delete worked, so the log and the index never list a file that stayed; a folder is
// recorded before its delete, which can stop half way.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "removal/quarantine_index.h"
#include "removal/quarantine_log.h"
#include "removal/quarantine_store.h"

namespace grimsweep {

class Context;

inline constexpr int kDeleteTries = 8;

class QuarantineRoutines {
public:
    QuarantineRoutines(Context& context, QuarantineStore& store, QuarantineLog& log);

    // 1 when a delete was attempted, 2 when a process running from the file cannot be stopped, -1 when
    // the file is not there at the start, 0 when the path has no backslash or nothing could be attempted.
    int BackupAndDeleteExecutable(const std::string& path);
    // 1 when the delete succeeded, 0 when it failed (or the path has no backslash), -1 when the file is
    // not there at the start.
    int BackupAndDeleteComServer(const std::string& path, std::uintptr_t window);
    // Files of any other kind and folders; true when it reached the delete step.
    bool BackupAndDeletePath(const std::string& path);
    // True when the cookie was backed up and recorded and its delete was attempted.
    bool BackupAndDeleteCookie(const std::string& path);

    // A plain directory query for the path finds a file of its name (hidden and system files do not
    // count).
    bool PlainFilePresent(const std::string& path) const;

private:
    // The backup of the source made in this removal, or a new one.
    const QuarantineStore::Backup* BackupOf(const std::string& path, QuarantineKind kind);
    // Writes the log record (folders have none) and the index line of the backup, once per removal.
    bool Record(const std::string& path, QuarantineKind kind);
    // The log and the index can both be appended to now.
    bool RecordWritable();
    // Deletes the file after making sure the record of its backup can follow; records it on success.
    bool DeleteRecorded(const std::string& path, QuarantineKind kind);
    void Pump();

    Context& context_;
    QuarantineStore& store_;
    QuarantineLog& log_;
};

} // namespace grimsweep
