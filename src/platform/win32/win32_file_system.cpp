#include "platform/win32/win32_file_system.h"

#include "platform/win32/windows_api.h"

#include "platform/folder_walk.h"
#include "platform/win32/file_handle.h"
#include "platform/win32/wide_text.h"

namespace grimsweep::win32 {

namespace {

bool WriteAll(HANDLE file, const std::string& bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        DWORD chunk = 0;
        const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - written, 1u << 30));
        if (!::WriteFile(file, bytes.data() + written, wanted, &chunk, nullptr) || chunk == 0) {
            return false;
        }
        written += chunk;
    }
    return true;
}

bool IsDotEntry(const wchar_t* name) {
    return wcscmp(name, L".") == 0 || wcscmp(name, L"..") == 0;
}

} // namespace

Win32FileSystem::Win32FileSystem() {
    // A drive without a medium must not pop up "insert a disk" boxes while drives are examined.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
}

std::vector<DirectoryEntry> Win32FileSystem::FindEntries(const std::string& pattern) {
    std::vector<DirectoryEntry> entries;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(Widen(pattern).c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        return entries;
    }
    do {
        if (!IsDotEntry(data.cFileName)) {
            entries.push_back({Narrow(data.cFileName), data.dwFileAttributes,
                               (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow});
        }
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return entries;
}

std::optional<std::uint32_t> Win32FileSystem::GetAttributes(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return std::nullopt;
    }
    return attributes;
}

bool Win32FileSystem::SetAttributes(const std::string& path, std::uint32_t attributes) {
    return SetFileAttributesW(Widen(path).c_str(), attributes & ~kAttrDirectory) != 0;
}

std::optional<std::string> Win32FileSystem::ReadFile(const std::string& path) {
    FileHandle file(CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    // A pipe, console or device could keep a read waiting for ever: only files on disk are read.
    if (!file.Valid() || GetFileType(file.Get()) != FILE_TYPE_DISK) {
        return std::nullopt;
    }
    std::string bytes;
    char buffer[65536];
    while (true) {
        DWORD read = 0;
        if (!::ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr)) {
            return std::nullopt;
        }
        if (read == 0) {
            return bytes;
        }
        bytes.append(buffer, read);
    }
}

std::optional<std::string> Win32FileSystem::ReadRange(const std::string& path, std::uint64_t offset,
                                                      std::size_t length) {
    FileHandle file = OpenSharedForReading(path);
    if (!file.Valid()) {
        return std::nullopt;
    }
    return ReadAt(file.Get(), offset, length);
}

bool Win32FileSystem::WriteFile(const std::string& path, const std::string& bytes) {
    FileHandle file(CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.Valid() && WriteAll(file.Get(), bytes) && FlushFileBuffers(file.Get());
}

bool Win32FileSystem::AppendFile(const std::string& path, const std::string& bytes) {
    FileHandle file(CreateFileW(Widen(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.Valid() && WriteAll(file.Get(), bytes);
}

bool Win32FileSystem::MoveFile(const std::string& from, const std::string& to, bool replaceExisting) {
    const DWORD flags = MOVEFILE_WRITE_THROUGH | (replaceExisting ? MOVEFILE_REPLACE_EXISTING : 0);
    return MoveFileExW(Widen(from).c_str(), Widen(to).c_str(), flags) != 0;
}

bool Win32FileSystem::CopyFile(const std::string& from, const std::string& to, bool failIfExists) {
    return CopyFileW(Widen(from).c_str(), Widen(to).c_str(), failIfExists ? TRUE : FALSE) != 0;
}

bool Win32FileSystem::DeleteFile(const std::string& path) {
    return DeleteFileW(Widen(path).c_str()) != 0;
}

bool Win32FileSystem::FolderExists(const std::string& path) {
    const auto attributes = GetAttributes(path);
    return attributes && (*attributes & kAttrDirectory);
}

bool Win32FileSystem::CreateFolder(const std::string& path) {
    return CreateDirectoryW(Widen(path).c_str(), nullptr) != 0;
}

bool Win32FileSystem::DeleteFolder(const std::string& path) {
    const auto attributes = GetAttributes(path);
    if (!attributes || !(*attributes & kAttrDirectory)) {
        return false;
    }
    // A link to a folder (symbolic link or junction) goes as the link: its target is never emptied.
    if (*attributes & kAttrReparsePoint) {
        SetAttributes(path, kAttrNormal);
        return RemoveDirectoryW(Widen(path).c_str()) != 0;
    }
    const bool ok = DeleteFolderContents(*this, path);
    SetAttributes(path, kAttrNormal);
    return RemoveDirectoryW(Widen(path).c_str()) != 0 && ok;
}

bool Win32FileSystem::CopyFolder(const std::string& from, const std::string& to) {
    const auto attributes = GetAttributes(from);
    if (!attributes || !(*attributes & kAttrDirectory) || (*attributes & kAttrReparsePoint)) {
        return false; // a link's target is not copied as if it were the folder
    }
    return CreateFolder(to) && CopyFolderContents(*this, from, to);
}

std::vector<DriveInfo> Win32FileSystem::ListDrives() {
    std::vector<DriveInfo> drives;
    wchar_t buffer[512];
    const DWORD length = GetLogicalDriveStringsW(511, buffer);
    if (length == 0 || length > 511) {
        return drives;
    }
    for (const wchar_t* root = buffer; *root; root += wcslen(root) + 1) {
        DriveInfo drive;
        drive.letter = Narrow(std::wstring_view(root, 1));
        // The system numbers drive kinds 2 removable, 3 fixed, 4 remote, 5 CD-ROM, 6 RAM disk.
        switch (GetDriveTypeW(root)) {
        case DRIVE_REMOVABLE:
            drive.type = DriveType::Removable;
            break;
        case DRIVE_FIXED:
            drive.type = DriveType::Fixed;
            break;
        case DRIVE_REMOTE:
            drive.type = DriveType::Network;
            break;
        case DRIVE_CDROM:
            drive.type = DriveType::CdRom;
            break;
        case DRIVE_RAMDISK:
            drive.type = DriveType::RamDisk;
            break;
        default:
            drive.type = DriveType::Unknown;
            break;
        }
        drives.push_back(drive);
    }
    return drives;
}

bool Win32FileSystem::IsDriveReady(const std::string& letter) {
    const std::wstring root = Widen(letter) + L":\\";
    return GetVolumeInformationW(root.c_str(), nullptr, 0, nullptr, nullptr, nullptr, nullptr, 0) != 0;
}

std::optional<std::string> Win32FileSystem::FullPathName(const std::string& path) {
    const std::wstring wide = Widen(path);
    std::wstring full(MAX_PATH, L'\0');
    DWORD length = GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length >= full.size()) {
        full.resize(length);
        length = GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    }
    if (length == 0 || length >= full.size()) {
        return std::nullopt;
    }
    full.resize(length);
    return Narrow(full);
}

std::optional<std::string> Win32FileSystem::FinalPathName(const std::string& path) {
    // No access asked for: the handle only names the object, so a file another program holds open
    // without sharing still answers.
    FileHandle handle(CreateFileW(Widen(path).c_str(), 0,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!handle.Valid()) {
        return std::nullopt;
    }
    std::wstring final(MAX_PATH, L'\0');
    DWORD length = GetFinalPathNameByHandleW(handle.Get(), final.data(), static_cast<DWORD>(final.size()),
                                             FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length >= final.size()) {
        final.resize(length + 1);
        length = GetFinalPathNameByHandleW(handle.Get(), final.data(), static_cast<DWORD>(final.size()),
                                           FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    }
    if (length == 0 || length >= final.size()) {
        return std::nullopt;
    }
    final.resize(length);
    // The answer comes as "\\?\C:\..." or, on a share, "\\?\UNC\server\share\...".
    if (final.starts_with(L"\\\\?\\UNC\\")) {
        return "\\\\" + Narrow(final.substr(8));
    }
    if (final.starts_with(L"\\\\?\\")) {
        final.erase(0, 4);
    }
    return Narrow(final);
}

std::optional<std::string> Win32FileSystem::LongPathName(const std::string& path) {
    const std::wstring wide = Widen(path);
    std::wstring longPath(MAX_PATH, L'\0');
    // The answer's length without its NUL when it fits, otherwise the room it needs with its NUL.
    DWORD length = GetLongPathNameW(wide.c_str(), longPath.data(), static_cast<DWORD>(longPath.size()));
    if (length >= longPath.size()) {
        longPath.resize(length);
        length = GetLongPathNameW(wide.c_str(), longPath.data(), static_cast<DWORD>(longPath.size()));
    }
    if (length == 0 || length >= longPath.size()) {
        return std::nullopt;
    }
    longPath.resize(length);
    return Narrow(longPath);
}

} // namespace grimsweep::win32
