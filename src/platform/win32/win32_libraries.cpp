#include "platform/win32/win32_libraries.h"

#include <algorithm>

#include "platform/pe_exports.h"
#include "platform/win32/file_handle.h"

namespace grimsweep::win32 {

namespace {
// Export tables lie near the start of a library; nothing past this much of the file is read.
constexpr std::uint64_t kMaxBytesExamined = 64ull * 1024 * 1024;
} // namespace

LibraryProbe Win32Libraries::ProbeExport(const std::string& libraryPath, const std::string& exportName) {
    // The libraries probed are suspected spyware: their export tables are read from the file, never
    // mapped by the loader, so none of their code (initialisation, TLS callbacks, forwarded-to libraries)
    // runs, and the file is not held once the probe returns.
    FileHandle file = OpenSharedForReading(libraryPath);
    // Only files on a disk: reading a pipe or a device named in place of a file could wait forever.
    if (!file.Valid() || GetFileType(file.Get()) != FILE_TYPE_DISK) {
        return {};
    }
    const PeExportLookup lookup = FindPeExport(
        [&file](std::uint64_t offset, std::size_t length) {
            if (offset >= kMaxBytesExamined) {
                return std::string();
            }
            const auto wanted =
                static_cast<std::size_t>(std::min<std::uint64_t>(length, kMaxBytesExamined - offset));
            return ReadAt(file.Get(), offset, wanted).value_or(std::string());
        },
        exportName);
    return {lookup.isImage, lookup.exportFound};
}

} // namespace grimsweep::win32
