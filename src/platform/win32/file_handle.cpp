#include "platform/win32/file_handle.h"

#include <algorithm>

#include "platform/win32/wide_text.h"

namespace grimsweep::win32 {

FileHandle OpenSharedForReading(const std::string& path) {
    HANDLE handle =
        CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    // A pipe, console or device could keep a read waiting for ever: only files on disk are opened.
    if (handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_DISK) {
        CloseHandle(handle);
        handle = INVALID_HANDLE_VALUE;
    }
    return FileHandle(handle);
}

std::optional<std::string> ReadAt(HANDLE file, std::uint64_t offset, std::size_t length) {
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(offset);
    if (!SetFilePointerEx(file, position, nullptr, FILE_BEGIN)) {
        return std::nullopt;
    }
    std::string bytes(length, '\0');
    std::size_t filled = 0;
    while (filled < length) {
        DWORD read = 0;
        const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(length - filled, 1u << 30));
        if (!::ReadFile(file, bytes.data() + filled, wanted, &read, nullptr)) {
            return std::nullopt;
        }
        if (read == 0) {
            break;
        }
        filled += read;
    }
    bytes.resize(filled);
    return bytes;
}

} // namespace grimsweep::win32
