// Files, folders and drives. Paths are Windows paths in UTF-8; file contents are bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace grimsweep {

inline constexpr std::uint32_t kAttrReadOnly = 0x01;
inline constexpr std::uint32_t kAttrHidden = 0x02;
inline constexpr std::uint32_t kAttrSystem = 0x04;
inline constexpr std::uint32_t kAttrDirectory = 0x10;
inline constexpr std::uint32_t kAttrArchive = 0x20;
inline constexpr std::uint32_t kAttrNormal = 0x80;
// A symbolic link or junction: folder walks handle the link itself and never follow it.
inline constexpr std::uint32_t kAttrReparsePoint = 0x400;

struct DirectoryEntry {
    std::string name; // the entry's own name, without its folder
    std::uint32_t attributes = 0;
    std::uint64_t size = 0;
};

enum class DriveType : int {
    Unknown = 0,
    Removable = 1,
    Fixed = 2,
    Network = 3,
    CdRom = 4,
    RamDisk = 5,
};

struct DriveInfo {
    std::string letter; // "C"
    DriveType type = DriveType::Unknown;
};

class IFileSystem {
public:
    virtual ~IFileSystem() = default;

    // A directory query: every entry matching the pattern (an exact path, or a folder with "*" and "?"
    // in its last element), "." and ".." left out. Empty when nothing matches or the query fails.
    virtual std::vector<DirectoryEntry> FindEntries(const std::string& pattern) = 0;
    virtual std::optional<std::uint32_t> GetAttributes(const std::string& path) = 0;
    virtual bool SetAttributes(const std::string& path, std::uint32_t attributes) = 0;

    // The whole file, or nothing when it cannot be opened for reading.
    virtual std::optional<std::string> ReadFile(const std::string& path) = 0;
    // Up to `length` bytes from `offset`: fewer at the end of the file, none from its end on; nothing
    // when the file cannot be opened or read. Other programs may have the file open, even for writing.
    virtual std::optional<std::string> ReadRange(const std::string& path, std::uint64_t offset,
                                                 std::size_t length) = 0;
    // Creates or truncates the file and writes the bytes.
    virtual bool WriteFile(const std::string& path, const std::string& bytes) = 0;
    // Appends the bytes, creating the file when it is missing.
    virtual bool AppendFile(const std::string& path, const std::string& bytes) = 0;
    // Moves in one step; with replaceExisting an existing target is replaced, written through to disk.
    virtual bool MoveFile(const std::string& from, const std::string& to, bool replaceExisting) = 0;
    virtual bool CopyFile(const std::string& from, const std::string& to, bool failIfExists) = 0;
    virtual bool DeleteFile(const std::string& path) = 0;

    virtual bool FolderExists(const std::string& path) = 0;
    // Creates the folder (its parent must exist).
    virtual bool CreateFolder(const std::string& path) = 0;
    // Deletes the folder with everything in it, read-only entries included.
    virtual bool DeleteFolder(const std::string& path) = 0;
    // Copies the folder with everything in it to a new folder `to`.
    virtual bool CopyFolder(const std::string& from, const std::string& to) = 0;

    // Every drive with its kind, in the system's order. No drive is asked for its volume.
    virtual std::vector<DriveInfo> ListDrives() = 0;
    // Whether the drive holds a readable volume. This is a volume query: on an empty floppy or CD drive,
    // or a network drive whose server is away, it can take seconds, so ask it only where the answer is
    // needed.
    virtual bool IsDriveReady(const std::string& letter) = 0;

    // The system's full form of a path (GetFullPathNameW): "/" as "\", "." and ".." resolved, trailing dots
    // and blanks of the last element dropped, a reserved device name such as "NUL" answered as "\\.\NUL".
    // Nothing when the system cannot form it. Callers use CanonicalizePath, which builds on this.
    virtual std::optional<std::string> FullPathName(const std::string& path) = 0;

    // Where an existing file or folder really is, every link and junction on the way followed
    // (GetFinalPathNameByHandleW), in drive form ("C:\Windows\System32"); nothing when it does not exist
    // or the system cannot tell.
    virtual std::optional<std::string> FinalPathName(const std::string& path) = 0;

    // The path with every 8.3 short element ("PROGRA~1") replaced by its long name; nothing when the
    // file or folder does not exist. Paths without short elements come back as they are.
    virtual std::optional<std::string> LongPathName(const std::string& path) = 0;
};

} // namespace grimsweep
