#include "removal/quarantine_routines.h"

#include "common/case_folding.h"
#include "common/text.h"
#include "core/context.h"
#include "removal/com_server.h"
#include "scan/process_stop.h"

namespace grimsweep {

QuarantineRoutines::QuarantineRoutines(Context& context, QuarantineStore& store, QuarantineLog& log)
    : context_(context), store_(store), log_(log) {}

void QuarantineRoutines::Pump() {
    context_.host.PumpMessages();
}

bool QuarantineRoutines::PlainFilePresent(const std::string& path) const {
    const std::string name = AfterLastBackslash(path);
    for (const DirectoryEntry& entry : context_.machine.files.FindEntries(path)) {
        if ((entry.attributes & (kAttrHidden | kAttrSystem | kAttrDirectory)) == 0 &&
            EqualsFolded(entry.name, name)) {
            return true;
        }
    }
    return false;
}

const QuarantineStore::Backup* QuarantineRoutines::BackupOf(const std::string& path, QuarantineKind kind) {
    if (const QuarantineStore::Backup* known = store_.Known(path)) {
        return known;
    }
    store_.EnsureFolder();
    const auto name = kind == QuarantineKind::Folder ? store_.BackupFolder(path) : store_.BackupFile(path);
    if (!name) {
        return nullptr;
    }
    QuarantineStore::Backup& backup = store_.Remember(path, *name);
    backup.folder = kind == QuarantineKind::Folder;
    return &backup;
}

bool QuarantineRoutines::Record(const std::string& path, QuarantineKind kind) {
    QuarantineStore::Backup* backup = store_.Known(path);
    if (!backup) {
        return false;
    }
    const std::string when = log_.Timestamp();
    if (kind == QuarantineKind::Folder) {
        backup->logged = true;
    }
    if (!backup->logged) {
        // The logging pass writes the record; an item first backed up in the checking pass still gets one.
        const bool wasLogging = log_.logging;
        log_.logging = true;
        backup->logged = log_.LogQuarantinedFile(path, backup->name);
        log_.logging = wasLogging;
    }
    if (backup->logged && !backup->indexed) {
        QuarantineItem item;
        item.number = store_.TakeItemNumber();
        item.kind = kind;
        item.backupName = backup->name;
        item.origin = path;
        item.when = when;
        item.attributes = backup->attributes;
        backup->indexed = AppendQuarantineItem(context_, item);
    }
    return backup->Recorded();
}

bool QuarantineRoutines::RecordWritable() {
    return log_.Writable() && context_.machine.files.AppendFile(QuarantineIndexPath(context_), "");
}

bool QuarantineRoutines::DeleteRecorded(const std::string& path, QuarantineKind kind) {
    const QuarantineStore::Backup* backup = store_.Known(path);
    if (!backup) {
        return false;
    }
    if (!backup->Recorded() && !RecordWritable()) {
        return false;
    }
    // A read-only file cannot be deleted, and a hidden or system one is cleared with it: the flags go for
    // the delete, the index keeps them for a restore, and they come back when the delete fails.
    IFileSystem& files = context_.machine.files;
    const auto attributes = files.GetAttributes(path);
    const std::uint32_t flags = attributes ? KeptAttributes(*attributes) : 0;
    if (flags != 0) {
        const std::uint32_t cleared = *attributes & ~flags;
        files.SetAttributes(path, cleared == 0 ? kAttrNormal : cleared);
    }
    if (!files.DeleteFile(path)) {
        if (flags != 0) {
            files.SetAttributes(path, *attributes);
        }
        return false;
    }
    store_.Known(path)->attributes = flags;
    store_.Known(path)->removed = true;
    Record(path, kind);
    return true;
}

int QuarantineRoutines::BackupAndDeleteExecutable(const std::string& path) {
    if (path.find('\\') == std::string::npos) {
        return 0;
    }
    if (!PlainFilePresent(path)) {
        return -1;
    }
    if (!StopProcessesRunningFile(context_, path)) {
        return 2;
    }
    bool attempted = false;
    for (int attempt = 0; attempt < kDeleteTries; ++attempt) {
        if (PlainFilePresent(path) && BackupOf(path, QuarantineKind::File)) {
            DeleteRecorded(path, QuarantineKind::File);
            attempted = true;
        }
        Pump();
    }
    return attempted ? 1 : 0;
}

int QuarantineRoutines::BackupAndDeleteComServer(const std::string& path, std::uintptr_t window) {
    if (path.find('\\') == std::string::npos) {
        return 0;
    }
    if (!PlainFilePresent(path)) {
        return -1;
    }
    UnregisterComServer(context_.machine.libraries, window, path, false);
    if (!BackupOf(path, QuarantineKind::File)) {
        return 0;
    }
    return DeleteRecorded(path, QuarantineKind::File) ? 1 : 0;
}

bool QuarantineRoutines::BackupAndDeletePath(const std::string& path) {
    if (path.find('\\') == std::string::npos) {
        return false;
    }
    IFileSystem& files = context_.machine.files;
    // A plain directory query finds files only: a folder (or a hidden file) answers nothing.
    const bool fileFound = PlainFilePresent(path);
    std::string source = path;
    const bool folder = !fileFound && files.FolderExists(path);
    if (!fileFound && !folder) {
        return false;
    }
    if (folder) {
        if (source.size() > 1 && source.back() == '\\') {
            source.pop_back();
        }
        // A folder is recorded before its delete: a delete that stops half way has still taken files
        // whose only copy is the backup.
        if (BackupOf(source, QuarantineKind::Folder) && Record(source, QuarantineKind::Folder)) {
            store_.Known(source)->removed = true;
            files.DeleteFolder(source);
        }
    } else {
        BackupOf(path, QuarantineKind::File);
    }
    for (int attempt = 0; attempt < kDeleteTries; ++attempt) {
        if (!folder) {
            DeleteRecorded(path, QuarantineKind::File);
        }
        Pump();
    }
    return true;
}

bool QuarantineRoutines::BackupAndDeleteCookie(const std::string& path) {
    if (!BackupOf(path, QuarantineKind::Cookie)) {
        return false;
    }
    DeleteRecorded(path, QuarantineKind::Cookie);
    return true;
}

} // namespace grimsweep
