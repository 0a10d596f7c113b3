// Backups in the quarantine folder. Every backup gets a name of its own ("tool.exe", "tool (2).exe"),
// so that two items of one name never share or overwrite a backup, and counts only once it has been
// read back and found equal to its source: a file byte for byte, a folder tree file by file in size.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace grimsweep {

class Context;
class IFileSystem;

class QuarantineStore {
public:
    explicit QuarantineStore(Context& context);

    std::string Folder() const;
    std::string PathOf(std::string_view backupName) const;
    // Creates the quarantine folder when it is missing; true when it is there.
    bool EnsureFolder();

    // The name itself when nothing in the quarantine folder has it yet, else "stem (2).ext",
    // "stem (3).ext" and so on: the first that is free.
    std::string FreeName(std::string_view name);

    // Copies the file into the quarantine under a free name and checks the copy. The backup's name, or
    // nothing (and no copy left behind) when the copy failed or differs from the source.
    std::optional<std::string> BackupFile(const std::string& source);
    // The same for a folder tree; links inside it are not followed (they are not copied).
    std::optional<std::string> BackupFolder(const std::string& source);
    // Writes a new file into the quarantine (a registry export) under a free name based on `name`.
    std::optional<std::string> StoreFile(std::string_view name, const std::string& bytes);

    // The backups made during one removal, by source, so that the second pass of a removal reuses the
    // backup of the first instead of making another.
    struct Backup {
        std::string name;
        bool logged = false;  // its record is in the log (folders have none)
        bool indexed = false; // its line is in the index
        bool Recorded() const { return logged && indexed; }
    };
    Backup* Known(const std::string& source);
    Backup& Remember(const std::string& source, std::string name);
    void ForgetRemoval() { backups_.clear(); }

private:
    Context& context_;
    IFileSystem& files_;
    std::map<std::string, Backup> backups_; // by case-folded source path
};

// True when the two files have the same bytes (read in pieces, so a large file is never held whole).
bool SameFileContents(IFileSystem& files, const std::string& a, const std::string& b);
// True when every file below `source` (links passed over) has a file of the same name and size at the
// same place below `copy`.
bool SameFolderTree(IFileSystem& files, const std::string& source, const std::string& copy);

} // namespace grimsweep
