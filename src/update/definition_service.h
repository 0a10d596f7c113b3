// The conversation with the definition service: the date of the newest update, the update records
// published after our definitions date, and the date to store once they are applied.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace grimsweep {

class Context;

namespace ui {
class Control;
}

inline constexpr std::string_view kCurrentDatePage = "/asp/currentDateNEW.asp";
inline constexpr std::string_view kDefinitionsPage = "/asp/getDefsNEW.asp";
inline constexpr std::string_view kDatePage = "/asp/date.asp";

// "?prog=" product + "&comp=" company, each value percent-encoded (its UTF-8 bytes).
std::string ProductQuery(const Context& context);
// The product query + "&date=" + the definitions date (US form), percent-encoded.
std::string DefinitionsQuery(const Context& context, std::string_view definitionsDate);

// Why an update brought nothing although there may have been something to bring.
enum class UpdateFailure {
    None,        // the definitions are current, or the records were applied
    Unreachable, // the service did not answer the current-date page
    BadAnswer,   // its answers were no date, or the records could not be fetched whole
    Unverified,  // a key is set and the records' signature is missing, wrong or for another date
    NotSaved,    // the definition files could not be read, written or replaced
    Cancelled,   // the user stopped it before anything was applied
};

struct UpdateOutcome {
    bool reached = false;               // the service answered the current-date page
    int changes = 0;                    // changes made to the definition files
    std::optional<std::string> newDate; // the definitions date stored after the changes
    UpdateFailure failure = UpdateFailure::None;
};

// Asks the service at `serviceAddress` for what is newer than the stored definitions date and applies
// it; `status` (the download window's status box, may be absent) shows the progress. When entries
// changed, the date page's date becomes the definitions date; when that page cannot be read, the
// previous date stays, so the next update asks again from it.
// With `definitionKey` (the service's public key in hex) the records must carry its signature for this
// client's date, and the date they are signed to becomes the definitions date; an answer that fails the
// check changes nothing. `cancelled` (may be empty) is asked while the answers are awaited and read: once
// it says yes, the update ends without applying anything.
UpdateOutcome FetchAndApplyUpdates(Context& context, const std::string& serviceAddress, ui::Control* status,
                                   std::string_view definitionKey = {},
                                   const std::function<bool()>& cancelled = {});

} // namespace grimsweep
