#include "platform/folder_walk.h"

namespace grimsweep {

bool DeleteFolderContents(IFileSystem& files, const std::string& folder) {
    bool ok = true;
    for (const auto& entry : files.FindEntries(folder + "\\*")) {
        const std::string inner = folder + "\\" + entry.name;
        if (entry.attributes & kAttrReadOnly) {
            files.SetAttributes(inner, entry.attributes & ~kAttrReadOnly);
        }
        ok =
            ((entry.attributes & kAttrDirectory) ? files.DeleteFolder(inner) : files.DeleteFile(inner)) && ok;
    }
    return ok;
}

bool CopyFolderContents(IFileSystem& files, const std::string& from, const std::string& to) {
    bool ok = true;
    for (const auto& entry : files.FindEntries(from + "\\*")) {
        const std::string source = from + "\\" + entry.name;
        const std::string target = to + "\\" + entry.name;
        ok = ((entry.attributes & kAttrDirectory) ? files.CopyFolder(source, target)
                                                  : files.CopyFile(source, target, true)) &&
             ok;
    }
    return ok;
}

} // namespace grimsweep
