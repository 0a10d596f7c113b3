// The update records the definition service answers a Live Update with, applied to the six definition
// files: added records are appended in their stored form, deleted ones are dropped by rewriting the file.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace grimsweep {

class Context;

namespace ui {
class Control;
}

inline constexpr std::string_view kRecordSeparator = "[BR]";
inline constexpr std::string_view kDefinitionMarker = "[DEF]";
inline constexpr std::string_view kActionAdd = "ADD";
inline constexpr std::string_view kActionDelete = "DEL";
// A definition file's new contents are written beside it under its name with this suffix, then put in
// its place.
inline constexpr std::string_view kPendingUpdateSuffix = ".new";
// The rewrite reports its progress every this many lines.
inline constexpr int kRewriteStatusEvery = 100;

// One record of an update text: its decoded kind, its action and its body (encoded, except for the plain
// separators "|" and "=").
struct UpdateRecord {
    std::string kind;
    std::string action;
    std::string body;
};

// A plain body in the form the service sends it: every byte encoded except the separators "|" and "=".
std::string EncodeRecordBody(std::string_view plainBody);

// The records of an update text in order: split at "[BR]" (any case), each trimmed; empty pieces, pieces
// without "[DEF]" and pieces without an action field are left out.
std::vector<UpdateRecord> ParseUpdateRecords(std::string_view text);

// The stored line an ADD record of this kind appends to the named definition file; empty when the kind
// does not belong to that file.
bool RecordBelongsTo(std::string_view kind, std::string_view file);
std::string StoredLineFor(const UpdateRecord& record, std::string_view file);

// Applies the update text to the definition files in the data folder, in their fixed order, and returns
// the number of changes: one for every appended line and one for every file rewritten for deletions.
// Records apply in order: a deletion drops the lines present before it (an ADD after it stays), and an
// ADD cancels an earlier deletion sent as its bare name. The update applies to every file or to none:
// when a file cannot be read, written or replaced, all files keep their old contents and the result
// is 0. `status` (the download window's status box) shows progress; it may be absent.
int ApplyUpdateRecords(Context& context, std::string_view updateText, ui::Control* status);
// The same, telling a failure apart from an update that changed nothing: nothing when a file could not be
// read, written or replaced (and every file kept its old contents).
std::optional<int> TryApplyUpdateRecords(Context& context, std::string_view updateText, ui::Control* status);

} // namespace grimsweep
