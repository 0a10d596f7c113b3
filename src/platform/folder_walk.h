// The walks that folder deletes and copies make over a file system's own calls. The real and the
// simulated file system share them, so that both delete and copy what they can, entry by entry, alike.
#pragma once

#include <string>

#include "platform/file_system.h"

namespace grimsweep {

// Deletes every entry inside the folder on its own, whatever fails along the way: read-only entries
// after clearing the flag, folders with DeleteFolder. True when every entry went.
bool DeleteFolderContents(IFileSystem& files, const std::string& folder);

// Copies every entry of `from` into the existing folder `to` on its own: files never over an existing
// one, folders with CopyFolder. Links (reparse points) are passed over, never followed. True when every
// other entry was copied.
bool CopyFolderContents(IFileSystem& files, const std::string& from, const std::string& to);

} // namespace grimsweep
