// Files, folders and drives through kernel32.
#pragma once

#include "platform/file_system.h"

namespace grimsweep::win32 {

class Win32FileSystem : public IFileSystem {
public:
    Win32FileSystem();

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
};

} // namespace grimsweep::win32
