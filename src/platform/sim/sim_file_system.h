// An in-memory file system with drives, folders, files and attributes. Names compare as Windows compares
// them, without regard to case of any letter (simple Unicode case folding, except for the four letters
// the Wine test shows the real look-up keeping apart: FoldFileName in case_folding.h). Fault knobs: locked
// files (another program holds them open), files held open for reading only, failing reads, writes, copies
// and moves, operations that fail a number of times before they work; every call is counted per path.
#pragma once

#include <map>
#include <set>
#include <string>

#include "platform/file_system.h"

namespace grimsweep::sim {

// The calls a test can count or make fail, one per IFileSystem call that names a path.
enum class FileOp {
    Find,
    GetAttributes,
    SetAttributes,
    Read, // whole and ranged reads
    Write,
    Append,
    Move,
    Copy,
    Delete,
    FolderExists,
    CreateFolder,
    DeleteFolder,
    CopyFolder,
};

class SimFileSystem : public IFileSystem {
public:
    SimFileSystem();

    std::vector<DirectoryEntry> FindEntries(const std::string& pattern) override;
    std::optional<std::uint32_t> GetAttributes(const std::string& path) override;
    bool SetAttributes(const std::string& path, std::uint32_t attributes) override;
    std::optional<std::string> ReadFile(const std::string& path) override;
    std::optional<std::string> ReadRange(const std::string& path, std::uint64_t offset,
                                         std::size_t length) override;
    bool WriteFile(const std::string& path, const std::string& bytes) override;
    bool AppendFile(const std::string& path, const std::string& bytes) override;
    bool MoveFile(const std::string& from, const std::string& to, bool replaceExisting) override;
    bool CopyFile(const std::string& from, const std::string& to, bool failIfExists) override;
    bool DeleteFile(const std::string& path) override;
    bool FolderExists(const std::string& path) override;
    bool CreateFolder(const std::string& path) override;
    bool DeleteFolder(const std::string& path) override;
    bool CopyFolder(const std::string& from, const std::string& to) override;
    std::vector<DriveInfo> ListDrives() override;
    bool IsDriveReady(const std::string& letter) override;
    std::optional<std::string> FullPathName(const std::string& path) override;
    std::optional<std::string> FinalPathName(const std::string& path) override;
    std::optional<std::string> LongPathName(const std::string& path) override;

    // Test set-up: creates the file and every missing folder above it.
    void PutFile(const std::string& path, const std::string& bytes, std::uint32_t attributes = kAttrArchive);
    void PutFolder(const std::string& path);
    // A symbolic link to a folder: listed with the reparse-point attribute; paths below it continue in
    // the target, as the system follows them; deleting the link removes only the link.
    void PutFolderLink(const std::string& path, const std::string& target);
    // Gives the existing file or folder the 8.3 short name `shortName` ("PROGRA~1") in its folder.
    void AddShortName(const std::string& path, const std::string& shortName);
    // A drive and whether a volume is in it (an empty card reader, floppy or CD drive is not ready).
    void AddDrive(const std::string& letter, DriveType type, bool ready);
    bool Exists(const std::string& path) const;
    std::string Contents(const std::string& path) const;

    // Fault knobs.
    // Another program holds the file open without sharing it: no read, copy, delete, move or write.
    void SetLocked(const std::string& path, bool locked);
    // Another program holds the file open for reading and shares only reading (a running program's
    // image, a log a viewer has open): reading and copying it work; deleting, moving and writing it fail
    // with a sharing violation.
    void SetHeldOpenForReading(const std::string& path, bool held);
    void SetReadFails(const std::string& path, bool fails);
    void SetWriteFails(const std::string& path, bool fails); // writing or appending to it fails
    void SetCopyFails(const std::string& path, bool fails);  // copying from it fails
    void SetMoveFails(const std::string& path, bool fails);  // moving to or from it fails
    // Copying from it reports success but writes only the first half of the bytes: a disk that filled up
    // under a copy, a network share that dropped in the middle.
    void SetCopyTruncated(const std::string& path, bool truncated);
    // The next `times` calls of `op` that name the path fail before they touch anything; later calls
    // work. Stands for a passing obstacle: a virus scanner or an indexer that has the file open for a
    // moment, a program that is still closing its files.
    void FailNext(FileOp op, const std::string& path, int times);
    // Everything in the folder (and the folder itself) can be read but not changed: no file is written,
    // moved, deleted or given other attributes there, and nothing is created. Stands for what a standard
    // user meets in Program Files and the Windows folder.
    void SetReadOnlyTree(const std::string& folder, bool readOnly);

    // How many calls of `op` named the path (a move or copy counts for both its paths), whatever their
    // outcome; folder deletes count the calls they make for what is inside.
    int Count(FileOp op, const std::string& path) const;
    // How many times the drive was asked whether it is ready (each ask is a volume query that can take
    // seconds on a floppy, CD or network drive).
    int VolumeQueries(const std::string& letter) const;

private:
    struct Node {
        std::string path; // as created
        bool folder = false;
        std::uint32_t attributes = 0;
        std::string data;
    };
    struct SimDrive {
        DriveInfo info;
        bool ready = false;
        int volumeQueries = 0;
    };

    static std::string KeyOf(const std::string& path);
    std::string Resolve(const std::string& path) const;
    static std::string ParentKey(const std::string& key);
    Node* Lookup(const std::string& path);
    // Counts a read of the file and gives it when reading it works now.
    const Node* ReadableFile(const std::string& path);
    bool ParentIsFolder(const std::string& path);
    bool Has(const std::set<std::string>& set, const std::string& path) const;
    void Mark(std::set<std::string>& set, const std::string& path, bool on);
    bool CopyNode(const std::string& fromKey, const std::string& toPath);
    // Counts the call under each path and tells whether it may go on (no failure pending for it).
    bool Attempt(FileOp op, const std::string& path, const std::string& other = {});
    // Deleting, moving or writing is refused while another program has the file open.
    bool Held(const std::string& path) const;
    // The file to write to, made when it is missing (its folder must exist); nothing when writing to it
    // is refused.
    Node* WritableFile(const std::string& path);

    std::map<std::string, Node> nodes_;        // by case-folded normalised path
    std::map<std::string, std::string> links_; // folder links: key -> target path
    // Short names: the case-folded short path of an entry to the entry's key.
    std::map<std::string, std::string> shortNames_;
    std::vector<SimDrive> drives_;
    std::set<std::string> locked_, heldForReading_, readFails_, writeFails_, copyFails_, moveFails_,
        copyTruncated_;
    std::map<std::pair<FileOp, std::string>, int> failuresLeft_;
    std::map<std::pair<FileOp, std::string>, int> counts_;
    std::set<std::string> readOnlyTrees_;
    bool InReadOnlyTree(const std::string& path) const;
};

} // namespace grimsweep::sim
