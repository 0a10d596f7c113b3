#include "removal/quarantine_store.h"

#include "common/case_folding.h"
#include "common/text.h"
#include "core/context.h"
#include "removal/quarantine_folder.h"
#include "removal/quarantine_index.h"

namespace grimsweep {

namespace {

constexpr std::size_t kCompareChunk = 1 << 20;
constexpr int kMaxNameNumber = 100000;

std::optional<DirectoryEntry> EntryOf(IFileSystem& files, const std::string& path) {
    const auto entries = files.FindEntries(path);
    if (entries.size() != 1) {
        return std::nullopt;
    }
    return entries.front();
}

// Links are passed over, so the walk ends however deep the tree is.
bool SameTree(IFileSystem& files, const std::string& source, const std::string& copy) {
    if (!files.FolderExists(copy)) {
        return false;
    }
    for (const DirectoryEntry& entry : files.FindEntries(source + "\\*")) {
        if (entry.attributes & kAttrReparsePoint) {
            continue;
        }
        const std::string from = source + "\\" + entry.name;
        const std::string to = copy + "\\" + entry.name;
        if (entry.attributes & kAttrDirectory) {
            if (!SameTree(files, from, to)) {
                return false;
            }
            continue;
        }
        const auto copied = EntryOf(files, to);
        if (!copied || (copied->attributes & kAttrDirectory) || copied->size != entry.size) {
            return false;
        }
    }
    return true;
}

} // namespace

bool SameFileContents(IFileSystem& files, const std::string& a, const std::string& b) {
    for (std::uint64_t offset = 0;; offset += kCompareChunk) {
        const auto left = files.ReadRange(a, offset, kCompareChunk);
        const auto right = files.ReadRange(b, offset, kCompareChunk);
        if (!left || !right || *left != *right) {
            return false;
        }
        if (left->size() < kCompareChunk) {
            return true;
        }
    }
}

bool SameFolderTree(IFileSystem& files, const std::string& source, const std::string& copy) {
    return SameTree(files, source, copy);
}

QuarantineStore::QuarantineStore(Context& context) : context_(context), files_(context.machine.files) {}

std::string QuarantineStore::Folder() const {
    return QuarantineFolder(context_);
}

std::string QuarantineStore::PathOf(std::string_view backupName) const {
    return Folder() + "\\" + std::string(backupName);
}

bool QuarantineStore::EnsureFolder() {
    const std::string folder = Folder();
    if (files_.FolderExists(folder)) {
        return true;
    }
    // The data folder itself may be missing on a machine that never stored definitions.
    if (!files_.FolderExists(context_.dataFolder)) {
        files_.CreateFolder(context_.dataFolder);
    }
    return files_.CreateFolder(folder) || files_.FolderExists(folder);
}

std::string QuarantineStore::FreeName(std::string_view name) {
    LoadIndex();
    const auto taken = [&](const std::string& candidate) {
        return indexNames_.count(FoldFileName(candidate)) != 0 ||
               files_.GetAttributes(PathOf(candidate)).has_value();
    };
    std::string candidate(name);
    if (!taken(candidate)) {
        return candidate;
    }
    const std::size_t dot = name.rfind('.');
    const bool hasExtension = dot != std::string_view::npos && dot > 0;
    const std::string_view stem = hasExtension ? name.substr(0, dot) : name;
    const std::string_view extension = hasExtension ? name.substr(dot) : std::string_view();
    for (int number = 2; number < kMaxNameNumber; ++number) {
        candidate = std::string(stem) + " (" + std::to_string(number) + ")" + std::string(extension);
        if (!taken(candidate)) {
            return candidate;
        }
    }
    return candidate;
}

std::optional<std::string> QuarantineStore::BackupFile(const std::string& source) {
    const std::string name = FreeName(AfterLastBackslash(source));
    const std::string target = PathOf(name);
    if (!files_.CopyFile(source, target, true)) {
        return std::nullopt;
    }
    if (!SameFileContents(files_, source, target)) {
        files_.SetAttributes(target, kAttrNormal);
        files_.DeleteFile(target);
        return std::nullopt;
    }
    return name;
}

std::optional<std::string> QuarantineStore::BackupFolder(const std::string& source) {
    const std::string name = FreeName(AfterLastBackslash(source));
    const std::string target = PathOf(name);
    const bool copied = files_.CopyFolder(source, target);
    if (!copied || !SameFolderTree(files_, source, target)) {
        // The source is untouched; a half copy would only be taken for a backup later.
        files_.DeleteFolder(target);
        return std::nullopt;
    }
    return name;
}

std::optional<std::string> QuarantineStore::StoreFile(std::string_view name, const std::string& bytes) {
    const std::string stored = FreeName(name);
    const std::string target = PathOf(stored);
    if (!files_.WriteFile(target, bytes)) {
        return std::nullopt;
    }
    const auto back = files_.ReadFile(target);
    if (!back || *back != bytes) {
        return std::nullopt;
    }
    return stored;
}

QuarantineStore::Backup* QuarantineStore::Known(const std::string& source) {
    auto it = backups_.find(FoldFileName(source));
    return it == backups_.end() ? nullptr : &it->second;
}

QuarantineStore::Backup& QuarantineStore::Remember(const std::string& source, std::string name) {
    Backup& backup = backups_[FoldFileName(source)];
    backup = Backup{};
    backup.name = std::move(name);
    backup.source = source;
    return backup;
}

void QuarantineStore::LoadIndex() {
    if (indexLoaded_) {
        return;
    }
    indexLoaded_ = true;
    const std::vector<QuarantineItem> items = ReadQuarantineIndex(context_);
    for (const QuarantineItem& item : items) {
        indexNames_.insert(FoldFileName(item.backupName));
    }
    nextNumber_ = NextItemNumber(items);
}

std::uint64_t QuarantineStore::TakeItemNumber() {
    LoadIndex();
    return nextNumber_++;
}

void QuarantineStore::ForgetRemoval() {
    backups_.clear();
    indexLoaded_ = false;
    indexNames_.clear();
}

void QuarantineStore::DiscardUnrecorded() {
    for (const auto& [key, backup] : backups_) {
        if (backup.indexed || backup.removed) {
            continue;
        }
        const std::string copy = PathOf(backup.name);
        if (backup.folder) {
            // A folder is deleted only after its record is written: without one it was never touched.
            files_.DeleteFolder(copy);
            continue;
        }
        // A registry entry that was not deleted is still where it was; a file copy goes only while its
        // source still holds the same bytes, so nothing is lost with it.
        if (backup.source.starts_with(kRegistryBackupKeyPrefix) ||
            SameFileContents(files_, backup.source, copy)) {
            files_.SetAttributes(copy, kAttrNormal);
            files_.DeleteFile(copy);
        }
    }
}

} // namespace grimsweep
