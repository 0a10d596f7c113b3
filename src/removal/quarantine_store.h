// Backups in the quarantine folder. Every backup gets a name of its own ("tool.exe", "tool (2).exe"),
// so that two items of one name never share or overwrite a backup, and counts only once it has been
// read back and found equal to its source: a file byte for byte, a folder tree file by file in size.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>

namespace grimsweep {

class Context;
class IFileSystem;

// How the backups of registry entries are remembered among those of files.
inline constexpr std::string_view kRegistryBackupKeyPrefix = "registry:";

class QuarantineStore {
public:
    explicit QuarantineStore(Context& context);

    std::string Folder() const;
    std::string PathOf(std::string_view backupName) const;
    // Creates the quarantine folder when it is missing; true when it is there.
    bool EnsureFolder();

    // The name itself when nothing in the quarantine folder has it yet and no item of the index ever had
    // it, else "stem (2).ext", "stem (3).ext" and so on: the first that is free.
    std::string FreeName(std::string_view name);
    // The number for the next item of the index; the index is read once per removal.
    std::uint64_t TakeItemNumber();

    // Copies the file into the quarantine under a free name and checks the copy. The backup's name, or
    // nothing (and no copy left behind) when the copy failed or differs from the source.
    std::optional<std::string> BackupFile(const std::string& source);
    // The same for a folder tree; links inside it are not followed (they are not copied). A copy that
    // failed or came out different is deleted again, so no stray half copy stays in the quarantine.
    std::optional<std::string> BackupFolder(const std::string& source);
    // Writes a new file into the quarantine (a registry export) under a free name based on `name`.
    std::optional<std::string> StoreFile(std::string_view name, const std::string& bytes);

    // The backups made during one removal, by source, so that the second pass of a removal reuses the
    // backup of the first instead of making another.
    struct Backup {
        std::string name;
        std::string source; // the path, or kRegistryBackupKeyPrefix and the entry
        bool folder = false;
        std::uint32_t attributes = 0; // a file's read-only, hidden and system flags before its delete
        bool removed = false;         // the item itself was deleted
        bool logged = false;          // its record is in the log (folders have none)
        bool indexed = false;         // its line is in the index
        bool Recorded() const { return logged && indexed; }
    };
    Backup* Known(const std::string& source);
    Backup& Remember(const std::string& source, std::string name);
    void ForgetRemoval();
    // Deletes the backups made in this removal that no index line records and whose item was never
    // touched: the item is still where it was, so its copy would only be a second, unlisted one.
    void DiscardUnrecorded();

private:
    Context& context_;
    IFileSystem& files_;
    // Reads the index once: the names its items have had and the next item number.
    void LoadIndex();

    std::map<std::string, Backup> backups_; // by case-folded source path
    bool indexLoaded_ = false;
    std::set<std::string> indexNames_; // case-folded
    std::uint64_t nextNumber_ = 1;
};

// True when the two files have the same bytes (read in pieces, so a large file is never held whole).
bool SameFileContents(IFileSystem& files, const std::string& a, const std::string& b);
// True when every file below `source` (links passed over) has a file of the same name and size at the
// same place below `copy`.
bool SameFolderTree(IFileSystem& files, const std::string& source, const std::string& copy);

} // namespace grimsweep
