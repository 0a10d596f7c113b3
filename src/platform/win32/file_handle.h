// A file handle from CreateFileW, closed when it goes out of scope, and reading at an offset through one.
#pragma once

#include "platform/win32/windows_api.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace grimsweep::win32 {

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() {
        if (Valid()) {
            CloseHandle(handle_);
        }
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

// Opens an existing file on disk for reading, sharing everything: a program that has its own image or log
// open must not hide it from us. Pipes, consoles and devices are not opened.
FileHandle OpenSharedForReading(const std::string& path);

// Up to `length` bytes from `offset` (fewer at the end of the file); nothing when reading fails.
std::optional<std::string> ReadAt(HANDLE file, std::uint64_t offset, std::size_t length);

} // namespace grimsweep::win32
