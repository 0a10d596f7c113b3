// Putting a quarantined item back where it was removed from. A restore copies: the backup stays in the
// quarantine, so nothing is lost when a restore fails half way. Nothing already at the original place is
// overwritten unless the caller's `mayReplace` agrees; a folder that is there again only gets the entries
// it lacks. A restore that worked is recorded in the quarantine log ("Restored") and in the index, which
// then marks the item restored; one that failed records nothing and says why.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "platform/registry.h"
#include "removal/quarantine_index.h"

namespace grimsweep {

class Context;
class IFileSystem;

enum class RestoreStatus {
    Restored,
    MissingBackup, // the backup is no longer in the quarantine
    TargetExists,  // something is at the original place and was not replaced
    CopyFailed,    // the copy could not be made, or it differs from the backup
    ImportFailed,  // the registry backup could not be read or imported
    NotRecordable, // the quarantine log or index cannot be written, so nothing was touched
    BadOrigin,     // the index names no place the item could go back to
    BadBackupName, // the index names no file inside the quarantine folder as the backup
};

struct RestoreOutcome {
    RestoreStatus status = RestoreStatus::Restored;
    std::string target;          // where the item goes back to (OriginText)
    std::size_t keptEntries = 0; // a folder that was there again: its entries that were left as they were

    bool Restored() const { return status == RestoreStatus::Restored; }
};

// Asked with the target's text before something that is there is replaced; true allows it.
using MayReplace = std::function<bool(const std::string& target)>;

RestoreOutcome RestoreQuarantinedItem(Context& context, const QuarantineItem& item,
                                      const MayReplace& mayReplace);

// Why a restore did not work, in a few words ("the backup is missing"); "restored" for a success.
std::string_view RestoreStatusText(RestoreStatus status);

// Imports the .reg text of a registry backup taken of `root`\`keyPath`; true when every line of it was
// applied. A text holding any key outside that key imports nothing.
bool ImportRegistryBackup(Context& context, const std::string& bytes, RegistryRoot root,
                          const std::string& keyPath);

// Creates every missing folder of the path, one level at a time from the drive (or the share of a
// network path) down; true when the folder is there at the end.
bool CreateFolderPath(IFileSystem& files, const std::string& folder);

} // namespace grimsweep
