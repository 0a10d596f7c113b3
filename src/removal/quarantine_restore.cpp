#include "removal/quarantine_restore.h"

#include <optional>
#include <utility>

#include "common/case_folding.h"
#include "common/text.h"
#include "core/context.h"
#include "platform/canonical_path.h"
#include "removal/quarantine_folder.h"
#include "removal/quarantine_log.h"
#include "removal/quarantine_store.h"
#include "removal/registry_backup.h"

namespace grimsweep {

namespace {

// A checked copy of the backup is made under this name beside a file it is to replace, then moved over it.
constexpr std::string_view kReplacingSuffix = ".restore~";
constexpr RegistryRoot kRoots[] = {RegistryRoot::ClassesRoot,   RegistryRoot::CurrentUser,
                                   RegistryRoot::LocalMachine,  RegistryRoot::Users,
                                   RegistryRoot::CurrentConfig, RegistryRoot::DynData};

std::string ParentFolder(const std::string& path) {
    const std::size_t slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// The length of the part of a path that is never created: "C:" or "\\server\share".
std::size_t RootLength(const std::string& path) {
    if (path.starts_with("\\\\")) {
        const std::size_t server = path.find('\\', 2);
        const std::size_t share = server == std::string::npos ? server : path.find('\\', server + 1);
        return share == std::string::npos ? path.size() : share;
    }
    const std::size_t first = path.find('\\');
    return first == std::string::npos ? path.size() : first;
}

bool IsFolder(const std::optional<std::uint32_t>& attributes) {
    return attributes && (*attributes & kAttrDirectory);
}

bool IsLink(const std::optional<std::uint32_t>& attributes) {
    return attributes && (*attributes & kAttrReparsePoint);
}

void Discard(IFileSystem& files, const std::string& path) {
    files.SetAttributes(path, kAttrNormal);
    files.DeleteFile(path);
}

// Copies and reads the copy back; a copy that differs from its source is deleted again.
bool CopyChecked(IFileSystem& files, const std::string& from, const std::string& to, bool failIfExists) {
    if (!files.CopyFile(from, to, failIfExists)) {
        return false;
    }
    if (SameFileContents(files, from, to)) {
        return true;
    }
    Discard(files, to);
    return false;
}

// Puts the backup over the file at `target` in one step, so that the file there is never lost: a checked
// copy beside it is moved over it. A read-only file is made writable for the move (the backup brings its
// own attributes) and keeps its flag when the move fails.
RestoreStatus ReplaceFile(IFileSystem& files, const std::string& backup, const std::string& target) {
    const std::string temporary = target + std::string(kReplacingSuffix);
    if (!CopyChecked(files, backup, temporary, false)) {
        return RestoreStatus::CopyFailed;
    }
    const auto attributes = files.GetAttributes(target);
    if (attributes && (*attributes & kAttrReadOnly)) {
        files.SetAttributes(target, *attributes & ~kAttrReadOnly);
    }
    if (!files.MoveFile(temporary, target, true)) {
        if (attributes) {
            files.SetAttributes(target, *attributes);
        }
        Discard(files, temporary);
        return RestoreStatus::CopyFailed;
    }
    return SameFileContents(files, backup, target) ? RestoreStatus::Restored : RestoreStatus::CopyFailed;
}

// Copies what `to` lacks of the tree `from`, file by file, each copy checked. Entries already there stay
// as they are and are counted; links on either side are not followed. True when every missing entry
// was copied.
bool MergeFolder(IFileSystem& files, const std::string& from, const std::string& to, std::size_t& kept) {
    bool ok = true;
    for (const DirectoryEntry& entry : files.FindEntries(from + "\\*")) {
        if (entry.attributes & kAttrReparsePoint) {
            continue;
        }
        const std::string source = from + "\\" + entry.name;
        const std::string target = to + "\\" + entry.name;
        const auto there = files.GetAttributes(target);
        if (!(entry.attributes & kAttrDirectory)) {
            if (there) {
                ++kept;
            } else {
                ok = CopyChecked(files, source, target, true) && ok;
            }
            continue;
        }
        if (there && (!IsFolder(there) || IsLink(there))) {
            ++kept;
            continue;
        }
        if (!there && !files.CreateFolder(target)) {
            ok = false;
            continue;
        }
        ok = MergeFolder(files, source, target, kept) && ok;
    }
    return ok;
}

class Restorer {
public:
    Restorer(Context& context, const QuarantineItem& item, const MayReplace& mayReplace)
        : context_(context), files_(context.machine.files), item_(item), mayReplace_(mayReplace),
          backup_(QuarantineFolder(context) + "\\" + item.backupName), log_(context) {}

    RestoreOutcome Run() {
        outcome_.target = OriginText(item_);
        // What the index says is checked before it is used: it is a file anyone can edit.
        if (!BackupInsideQuarantine()) {
            outcome_.status = RestoreStatus::BadBackupName;
            return outcome_;
        }
        if (item_.backupTaken) {
            outcome_.status = RestoreStatus::MissingBackup;
            return outcome_;
        }
        switch (item_.kind) {
        case QuarantineKind::File:
        case QuarantineKind::Cookie:
            outcome_.status = RestoreFile();
            break;
        case QuarantineKind::Folder:
            outcome_.status = RestoreFolder();
            break;
        case QuarantineKind::Value:
        case QuarantineKind::Key:
            outcome_.status = RestoreRegistry();
            break;
        }
        // An item restored before whose bytes are still there is not recorded a second time.
        if (outcome_.Restored() && !(alreadyBack_ && item_.restored)) {
            log_.LogRestored(item_.backupName, outcome_.target);
            AppendRestored(context_, item_.number, log_.Timestamp());
        }
        return outcome_;
    }

private:
    // Both records of a restore can follow it: checked before anything is touched.
    bool RecordsWritable() { return log_.Writable() && files_.AppendFile(QuarantineIndexPath(context_), ""); }

    bool ReplaceAllowed(const std::string& target) const { return mayReplace_ && mayReplace_(target); }

    // The backup name is one plain name of a file directly inside the quarantine folder.
    bool BackupInsideQuarantine() const {
        const std::string& name = item_.backupName;
        if (name.empty() || name.find_first_of("\\/:") != std::string::npos) {
            return false;
        }
        const std::string folder = ComparablePath(files_, QuarantineFolder(context_));
        const std::string backup = ComparablePath(files_, backup_);
        return !folder.empty() && backup == folder + "\\" + FoldFileName(name);
    }

    // A file, folder or cookie goes back only to a place written in canonical form.
    bool CanonicalOrigin() const {
        const CanonicalPath canonical = CanonicalizePath(files_, item_.origin);
        return canonical.Local() && canonical.path.size() > 3 &&
               FoldFileName(canonical.path) == FoldFileName(item_.origin);
    }

    RestoreStatus RestoreFile() {
        const auto backup = files_.GetAttributes(backup_);
        if (!backup || IsFolder(backup)) {
            return RestoreStatus::MissingBackup;
        }
        const std::string& target = item_.origin;
        if (!CanonicalOrigin()) {
            return RestoreStatus::BadOrigin;
        }
        if (!RecordsWritable()) {
            return RestoreStatus::NotRecordable;
        }
        if (const auto there = files_.GetAttributes(target)) {
            if (IsFolder(there)) {
                return RestoreStatus::TargetExists;
            }
            // The same bytes are back already: nothing to replace, nothing to ask.
            if (SameFileContents(files_, backup_, target)) {
                alreadyBack_ = true;
                return RestoreStatus::Restored;
            }
            return ReplaceAllowed(target) ? WithAttributes(ReplaceFile(files_, backup_, target))
                                          : RestoreStatus::TargetExists;
        }
        if (!CreateFolderPath(files_, ParentFolder(target))) {
            return RestoreStatus::CopyFailed;
        }
        return WithAttributes(CopyChecked(files_, backup_, target, true) ? RestoreStatus::Restored
                                                                         : RestoreStatus::CopyFailed);
    }

    // A restored file gets back the read-only, hidden and system flags it had when it was removed.
    RestoreStatus WithAttributes(RestoreStatus status) {
        const std::uint32_t flags = KeptAttributes(item_.attributes);
        if (status == RestoreStatus::Restored && flags != 0) {
            if (const auto now = files_.GetAttributes(item_.origin)) {
                files_.SetAttributes(item_.origin, (*now & ~kAttrNormal) | flags);
            }
        }
        return status;
    }

    RestoreStatus RestoreFolder() {
        if (!files_.FolderExists(backup_)) {
            return RestoreStatus::MissingBackup;
        }
        const std::string& target = item_.origin;
        if (!CanonicalOrigin()) {
            return RestoreStatus::BadOrigin;
        }
        if (!RecordsWritable()) {
            return RestoreStatus::NotRecordable;
        }
        const auto there = files_.GetAttributes(target);
        if (there && (!IsFolder(there) || IsLink(there))) {
            return RestoreStatus::TargetExists;
        }
        if (!CreateFolderPath(files_, target)) {
            return RestoreStatus::CopyFailed;
        }
        return MergeFolder(files_, backup_, target, outcome_.keptEntries) ? RestoreStatus::Restored
                                                                          : RestoreStatus::CopyFailed;
    }

    RestoreStatus RestoreRegistry() {
        const auto backup = files_.GetAttributes(backup_);
        if (!backup || IsFolder(backup)) {
            return RestoreStatus::MissingBackup;
        }
        const auto bytes = files_.ReadFile(backup_);
        if (!bytes) {
            return RestoreStatus::ImportFailed;
        }
        std::optional<RegistryRoot> root;
        std::string keyPath;
        for (RegistryRoot candidate : kRoots) {
            const std::string_view name = RegistryRootName(candidate);
            if (item_.origin.size() > name.size() + 1 && StartsWithIgnoreCase(item_.origin, name) &&
                item_.origin[name.size()] == '\\') {
                root = candidate;
                keyPath = item_.origin.substr(name.size() + 1);
            }
        }
        // One backslash between the elements of the key, none at either end.
        if (!root || keyPath.empty() || keyPath.front() == '\\' || keyPath.back() == '\\' ||
            keyPath.find("\\\\") != std::string::npos) {
            return RestoreStatus::BadOrigin;
        }
        if (!RecordsWritable()) {
            return RestoreStatus::NotRecordable;
        }
        IRegistry& registry = context_.machine.registry;
        RegistryValue value;
        const bool there =
            item_.kind == QuarantineKind::Key
                ? registry.OpenKey(*root, keyPath, kKeyRead) != kRegistryNotFound
                : registry.QueryValue(*root, keyPath, item_.valueName, kKeyRead, value) != kRegistryNotFound;
        if (there && !ReplaceAllowed(outcome_.target)) {
            return RestoreStatus::TargetExists;
        }
        return ImportRegistryBackup(context_, *bytes, *root, keyPath) ? RestoreStatus::Restored
                                                                      : RestoreStatus::ImportFailed;
    }

    Context& context_;
    IFileSystem& files_;
    const QuarantineItem& item_;
    const MayReplace& mayReplace_;
    std::string backup_;
    QuarantineLog log_;
    RestoreOutcome outcome_;
    bool alreadyBack_ = false;
};

} // namespace

bool CreateFolderPath(IFileSystem& files, const std::string& folder) {
    const std::size_t root = RootLength(folder);
    if (root >= folder.size()) {
        return files.FolderExists(folder);
    }
    for (std::size_t end = folder.find('\\', root + 1);; end = folder.find('\\', end + 1)) {
        const std::string level = folder.substr(0, end);
        if (level.back() != '\\' && !files.FolderExists(level)) {
            files.CreateFolder(level);
        }
        if (end == std::string::npos) {
            break;
        }
    }
    return files.FolderExists(folder);
}

bool ImportRegistryBackup(Context& context, const std::string& bytes, RegistryRoot root,
                          const std::string& keyPath) {
    return ImportRegistryText(context.machine.registry, context.machine.system, bytes,
                              RegistryImportScope{root, keyPath})
        .Ok();
}

RestoreOutcome RestoreQuarantinedItem(Context& context, const QuarantineItem& item,
                                      const MayReplace& mayReplace) {
    return Restorer(context, item, mayReplace).Run();
}

std::string_view RestoreStatusText(RestoreStatus status) {
    switch (status) {
    case RestoreStatus::Restored:
        return "restored";
    case RestoreStatus::MissingBackup:
        return "its backup is no longer in the quarantine";
    case RestoreStatus::TargetExists:
        return "something is already there and was not replaced";
    case RestoreStatus::CopyFailed:
        return "the copy could not be made";
    case RestoreStatus::ImportFailed:
        return "the registry backup could not be imported";
    case RestoreStatus::NotRecordable:
        return "the quarantine log cannot be written";
    case RestoreStatus::BadOrigin:
        return "its original location is not known";
    case RestoreStatus::BadBackupName:
        return "its record does not name a backup inside the quarantine folder";
    }
    return "";
}

} // namespace grimsweep
