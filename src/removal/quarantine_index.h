// The index beside the quarantine log: for every backup in the quarantine folder, what it was and where
// it came from, so that Restore can put it back. UTF-8, one entry a line, fields separated by tabs:
//   Q <kind> <backup name> <origin> <value name> <when>    an item went into the quarantine
//   R <backup name> <when>                                  the item of that backup was put back
// Kinds: File, Folder, Cookie, Value, Key. The origin of a file, folder or cookie is its full path; of a
// registry entry the root's name and the key path ("HKEY_CURRENT_USER\Software\Gloom"), and its backup is
// a .reg file. "%", tab, CR and LF inside a field are written as %25, %09, %0D and %0A.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace grimsweep {

class Context;

inline constexpr std::string_view kQuarantineIndexName = "QuarantineIndex.txt";

enum class QuarantineKind { File, Folder, Cookie, Value, Key };

struct QuarantineItem {
    QuarantineKind kind = QuarantineKind::File;
    std::string backupName; // in the quarantine folder
    std::string origin;
    std::string valueName; // Value entries: the value's name ("" the key's default value)
    std::string when;      // the removal's date and time, as the log writes it
    bool restored = false;
    std::string restoredWhen;
};

std::string QuarantineIndexPath(const Context& context);

std::string_view QuarantineKindName(QuarantineKind kind);

// The index line of an item, and of its restore, each ending in CR LF.
std::string IndexLine(const QuarantineItem& item);
std::string RestoredLine(std::string_view backupName, std::string_view when);
// Every item the index text names, in the order they went in, each marked restored when a later line
// says so. Lines that cannot be read are passed over.
std::vector<QuarantineItem> ParseQuarantineIndex(std::string_view text);

// Appends to the index in the quarantine folder; true when the line is in the file.
bool AppendQuarantineItem(Context& context, const QuarantineItem& item);
bool AppendRestored(Context& context, std::string_view backupName, std::string_view when);
// The items of the index in the quarantine folder (none when it is missing or unreadable).
std::vector<QuarantineItem> ReadQuarantineIndex(Context& context);

// How Restore and the lists show an item's origin: the path, or the key with the value's name.
std::string OriginText(const QuarantineItem& item);

} // namespace grimsweep
