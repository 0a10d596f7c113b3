// The window "Restore from Quarantine" (frmRestore): the quarantined items not yet put back, newest
// first, with check boxes; "Restore" puts the ticked ones back (asking before it replaces anything that
// is there) and tells what came back and what did not; "Close" closes it.
#pragma once

#include <string_view>
#include <vector>

#include "core/busy_state.h"
#include "removal/quarantine_index.h"
#include "shell/skin.h"
#include "ui/form.h"

namespace grimsweep {

class Context;

inline constexpr std::string_view kRestoreWindowName = "frmRestore";
inline constexpr std::string_view kRestoreList = "lvwQuarantine";
inline constexpr std::string_view kRestoreCommand = "cmdRestore";
inline constexpr std::string_view kRestoreCloseCommand = "cmdClose";

class RestoreWindow {
public:
    // A restore holds `busy` as a removal does, so that no scan or removal starts in the middle of it.
    RestoreWindow(Context& context, const Skin& skin, BusyState& busy);

    // Shows the window modally, centred over `owner` (the main window).
    void Show(const ui::Form& owner);
    ui::Form& Window() { return form_; }

    // Reads the index again and lists the items not yet restored, newest first, none ticked.
    void Refresh();
    // The Restore command.
    void RestoreTicked();
    // The item of each row, in the order of the rows.
    const std::vector<QuarantineItem>& Items() const { return items_; }

private:
    std::string ItemText(const QuarantineItem& item) const;
    void OnLoad();
    bool AskReplace(const std::string& target);

    Context& context_;
    const Skin& skin_;
    BusyState& busy_;
    ui::Form form_;
    std::vector<QuarantineItem> items_;
};

} // namespace grimsweep
