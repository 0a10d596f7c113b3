// Places a removal must never delete, whatever a definition says: drive roots, the Windows, system and
// program folders, profile folders with the user's documents and desktop, the folders above any of them,
// and the program's own data folder with the quarantine and everything in them.
#pragma once

#include <string>
#include <vector>

#include "platform/file_system.h"

namespace grimsweep {

class Context;

class ProtectedLocations {
public:
    // Looks the system's folders up once.
    explicit ProtectedLocations(Context& context);

    // True for a protected folder, a folder above one, anything inside the data folder, a drive or share
    // root, and a path with "." or ".." elements (which cannot be judged from its text). Short (8.3)
    // elements are judged in their long form.
    bool Protects(const std::string& path) const;

private:
    IFileSystem& files_;
    std::vector<std::string> folders_; // case-folded, without a trailing backslash
    std::string dataFolder_;
};

} // namespace grimsweep
