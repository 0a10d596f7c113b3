#include "platform/folder_walk.h"

namespace grimsweep {

bool DeleteFolderContents(IFileSystem& files, const std::string& folder) {
    bool ok = true;
    for (const auto& entry : files.FindEntries(folder + "\\*")) {
        const std::string inner = folder + "\\" + entry.name;
        if (entry.attributes & kAttrReadOnly) {
            files.SetAttributes(inner, entry.attributes & ~kAttrReadOnly);
        }
        // A link to a folder is deleted as the link (the folder delete removes a link without going
        // through it), never emptied.
        ok =
            ((entry.attributes & kAttrDirectory) ? files.DeleteFolder(inner) : files.DeleteFile(inner)) && ok;
    }
    return ok;
}

bool CopyFolderContents(IFileSystem& files, const std::string& from, const std::string& to) {
    bool ok = true;
    for (const auto& entry : files.FindEntries(from + "\\*")) {
        // A link is not followed: what it points to is no part of this folder.
        if (entry.attributes & kAttrReparsePoint) {
            continue;
        }
        const std::string source = from + "\\" + entry.name;
        const std::string target = to + "\\" + entry.name;
        ok = ((entry.attributes & kAttrDirectory) ? files.CopyFolder(source, target)
                                                  : files.CopyFile(source, target, true)) &&
             ok;
    }
    return ok;
}

} // namespace grimsweep
