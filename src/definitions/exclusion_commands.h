// The Exclude command of the Results panel and the "View Exclusions" menu command, as operations on the
// program object that the main window wires to its controls.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace grimsweep {

class Context;
class ExclusionList;

inline constexpr std::string_view kMsgSorry = "MSG_SORRY";
inline constexpr std::string_view kMsgExcludeSure1 = "MSG_EXC_SURE1";
inline constexpr std::string_view kMsgExcludeSure2 = "MSG_EXC_SURE2";
inline constexpr std::string_view kMsgExcludeSure3 = "MSG_EXC_SURE3";
inline constexpr std::string_view kMsgExcludeSure4 = "MSG_EXC_SURE4";
inline constexpr std::string_view kMsgNoExclusionFile = "MSG_EXCLUDE1";
inline constexpr std::string_view kMsgNoExclusionFileTitle = "MSG_EXCLUDE2";
// A cookie row's text starts with this; the stored entry is the cookie's name without it.
inline constexpr std::string_view kCookieRowPrefix = "Cookie: ";

// A row of the removal list as the Exclude command sees it.
struct ExcludeRow {
    std::string text;
    std::string location; // sub-item 1
    bool ticked = false;
};

enum class ExcludeOutcome {
    NothingToExclude, // all lists empty: the "nothing to exclude" box was shown
    Declined,         // the user answered No
    Excluded,         // entries appended for every ticked row
};

// Asks, then appends the location and the text (without "Cookie: ") of every ticked row. `listsEmpty`
// tells whether the scan list, the hidden registry list and the removal list are all empty. On
// Excluded the main window removes the ticked rows from its lists (hidden file/folder list, hidden
// registry list, scan list, hidden cookie list, then the removal list) and clears the removal caption;
// that clean-up runs even when no row was ticked.
ExcludeOutcome ExcludeSelectedRows(Context& context, ExclusionList& exclusions,
                                   const std::vector<ExcludeRow>& removalRows, bool listsEmpty);

// Opens the exclusion file in the text editor, or says that there is none yet.
void ViewExclusions(Context& context);

} // namespace grimsweep
