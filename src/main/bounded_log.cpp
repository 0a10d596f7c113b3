#include "main/bounded_log.h"

#include <fstream>

namespace grimsweep {

BoundedLog::BoundedLog(std::filesystem::path path, std::uintmax_t limitBytes)
    : path_(std::move(path)), limit_(limitBytes) {}

bool BoundedLog::Append(std::string_view entry) {
    const std::lock_guard<std::mutex> lock(mutex_);
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path_, error);
    if (!error && size > 0 && size + entry.size() > limit_) {
        std::filesystem::rename(path_, std::filesystem::path(path_.string() + ".1"), error);
        if (error) {
            return false;
        }
    }
    std::ofstream out(path_, std::ios::binary | std::ios::app);
    out << entry;
    return static_cast<bool>(out.flush());
}

} // namespace grimsweep
