#include "removal/protected_locations.h"

#include <algorithm>

#include "common/case_folding.h"
#include "core/context.h"

namespace grimsweep {

namespace {

// Shell folder identifiers: the Windows, system and program folders, the profile, the user's and every
// user's documents, desktop, application data and Start menu.
constexpr int kProtectedFolders[] = {
    36, // Windows
    37, // system
    41, // system (x86)
    38, // Program Files
    42, // Program Files (x86)
    43, // common files
    40, // profile
    5,  // Documents
    16, // Desktop
    25, // every user's desktop
    46, // every user's documents
    26, // application data
    28, // local application data
    35, // every user's application data
    2,  // Start menu programs
    11, // Start menu
    22, // every user's Start menu
    23, // every user's Start menu programs
    7,  // Startup
    24, // every user's Startup
    39, // Pictures
    13, // Music
    6,  // Favorites
};

std::string Comparable(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    while (!path.empty() && (path.back() == '\\' || path.back() == ' ')) {
        path.pop_back();
    }
    return FoldFileName(path);
}

bool HasDotElement(const std::string& path) {
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('\\', start);
        if (end == std::string::npos) {
            end = path.size();
        }
        const std::string_view element(path.data() + start, end - start);
        if (element == "." || element == "..") {
            return true;
        }
        start = end + 1;
    }
    return false;
}

// `inner` is `outer` or lies below it.
bool Within(const std::string& inner, const std::string& outer) {
    return inner.size() >= outer.size() && inner.compare(0, outer.size(), outer) == 0 &&
           (inner.size() == outer.size() || inner[outer.size()] == '\\');
}

bool IsRoot(const std::string& path) {
    if (path.size() <= 2) {
        return true; // "", "c", "c:"
    }
    if (path.rfind("\\\\", 0) == 0) {
        // \\server\share and anything shorter
        const std::size_t server = path.find('\\', 2);
        return server == std::string::npos || path.find('\\', server + 1) == std::string::npos;
    }
    return path.find('\\') == std::string::npos;
}

} // namespace

ProtectedLocations::ProtectedLocations(Context& context) : files_(context.machine.files) {
    for (int csidl : kProtectedFolders) {
        const auto folder = context.machine.shell.SpecialFolderPath(csidl);
        if (folder && !folder->empty()) {
            folders_.push_back(Comparable(*folder));
        }
    }
    dataFolder_ = Comparable(context.dataFolder);
    if (!dataFolder_.empty()) {
        folders_.push_back(dataFolder_);
    }
}

bool ProtectedLocations::Protects(const std::string& path) const {
    std::string comparable = Comparable(path);
    if (comparable.find('~') != std::string::npos) {
        if (const auto longPath = files_.LongPathName(path)) {
            comparable = Comparable(*longPath);
        }
    }
    if (IsRoot(comparable) || HasDotElement(comparable)) {
        return true;
    }
    if (!dataFolder_.empty() && Within(comparable, dataFolder_)) {
        return true;
    }
    return std::any_of(folders_.begin(), folders_.end(),
                       [&](const std::string& folder) { return Within(folder, comparable); });
}

} // namespace grimsweep
