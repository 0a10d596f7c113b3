// An in-memory file system with drives, folders, files and attributes. Names compare as Windows compares
// them, without regard to case of any letter (simple Unicode case folding). Fault knobs: locked files
// (another program holds them open), failing reads, writes, copies and moves.
#pragma once

#include <map>
#include <set>
#include <string>

#include "platform/file_system.h"

namespace grimsweep::sim {

class SimFileSystem : public IFileSystem {
public:
    SimFileSystem();

    std::vector<DirectoryEntry> FindEntries(const std::string& pattern) override;
    std::optional<std::uint32_t> GetAttributes(const std::string& path) override;
    bool SetAttributes(const std::string& path, std::uint32_t attributes) override;
    std::optional<std::string> ReadFile(const std::string& path) override;
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

    // Test set-up: creates the file and every missing folder above it.
    void PutFile(const std::string& path, const std::string& bytes, std::uint32_t attributes = kAttrArchive);
    void PutFolder(const std::string& path);
    // A drive and whether a volume is in it (an empty card reader, floppy or CD drive is not ready).
    void AddDrive(const std::string& letter, DriveType type, bool ready);
    bool Exists(const std::string& path) const;
    std::string Contents(const std::string& path) const;

    // Fault knobs.
    void SetLocked(const std::string& path, bool locked); // no delete, move, write or copy of it
    void SetReadFails(const std::string& path, bool fails);
    void SetWriteFails(const std::string& path, bool fails); // writing or appending to it fails
    void SetCopyFails(const std::string& path, bool fails);  // copying from it fails
    void SetMoveFails(const std::string& path, bool fails);  // moving to or from it fails

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
    static std::string ParentKey(const std::string& key);
    Node* Lookup(const std::string& path);
    bool ParentIsFolder(const std::string& path);
    bool Has(const std::set<std::string>& set, const std::string& path) const;
    void Mark(std::set<std::string>& set, const std::string& path, bool on);
    bool CopyNode(const std::string& fromKey, const std::string& toPath);

    std::map<std::string, Node> nodes_; // by case-folded normalised path
    std::vector<SimDrive> drives_;
    std::set<std::string> locked_, readFails_, writeFails_, copyFails_, moveFails_;
};

} // namespace grimsweep::sim
