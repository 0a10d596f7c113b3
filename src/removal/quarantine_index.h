// The index beside the quarantine log: for every backup in the quarantine folder, what it was and where
// it came from, so that Restore can put it back. UTF-8, one entry a line, fields separated by tabs:
//   Q <kind> <backup name> <origin> <value name> <when> <number> [<attributes>]
//                                                                    an item went into the quarantine
//   R #<number> <when>                                               that item was put back
// Every item has a number of its own that is never given again; older indexes without numbers number
// their items in order, and their "R <backup name> <when>" lines mark the newest item of that name.
// Kinds: File, Folder, Cookie, Value, Key. The origin of a file, folder or cookie is its full path; of a
// registry entry the root's name and the key path ("HKEY_CURRENT_USER\Software\Gloom"), and its backup is
// a .reg file. A file that was read-only, hidden or system has its attributes, in decimal, as the last
// field, so that Restore can put them back; other lines end at the number. "%", tab, CR and LF inside a field
// are written as %25, %09, %0D and %0A.
#pragma once

#include <cstdint>
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
    std::string valueName;    // Value entries: the value's name ("" the key's default value)
    std::string when;         // the removal's date and time, as the log writes it
    std::uint64_t number = 0; // the item's own number; 0 until it is in the index
    // A file's read-only, hidden and system attributes when it was removed (kAttr...); 0 for none.
    std::uint32_t attributes = 0;
    bool restored = false;
    std::string restoredWhen;
    // A newer item of the index has the same backup name: the file in the quarantine is that item's.
    bool backupTaken = false;
};

std::string QuarantineIndexPath(const Context& context);

std::string_view QuarantineKindName(QuarantineKind kind);

// Of a file's attributes, those the index keeps: read-only, hidden and system.
std::uint32_t KeptAttributes(std::uint32_t attributes);

// The index line of an item, and of its restore, each ending in CR LF.
std::string IndexLine(const QuarantineItem& item);
std::string RestoredLine(std::uint64_t number, std::string_view when);
// Every item the index text names, in the order they went in, each marked restored when a later line
// says so. Lines that cannot be read are passed over.
std::vector<QuarantineItem> ParseQuarantineIndex(std::string_view text);

// The number the next item gets: one above every number the items have.
std::uint64_t NextItemNumber(const std::vector<QuarantineItem>& items);

// Appends to the index in the quarantine folder; true when the line is in the file. An item without a
// number gets the next one.
bool AppendQuarantineItem(Context& context, QuarantineItem& item);
bool AppendRestored(Context& context, std::uint64_t number, std::string_view when);
// The items of the index in the quarantine folder (none when it is missing or unreadable).
std::vector<QuarantineItem> ReadQuarantineIndex(Context& context);

// How Restore and the lists show an item's origin: the path, or the key with the value's name.
std::string OriginText(const QuarantineItem& item);

} // namespace grimsweep
