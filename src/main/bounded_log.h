// A log file that never grows past a size: when an entry would take it past the limit, the file becomes
// NAME.1 (replacing the one before) and a new file starts. At most twice the limit stays on disk.
#pragma once

#include <cstdint>
#include <filesystem>
#include <mutex>
#include <string_view>

namespace grimsweep {

class BoundedLog {
public:
    BoundedLog(std::filesystem::path path, std::uintmax_t limitBytes);

    // Appends `entry` whole; safe from several threads at once. False when it could not be written.
    bool Append(std::string_view entry);

private:
    std::filesystem::path path_;
    std::uintmax_t limit_;
    std::mutex mutex_;
};

} // namespace grimsweep
