// The window "Delete Failed" (frmDelete): what a removal could not delete, with "Ok" to close it and
// "Copy List" to put the list on the clipboard. An entry the removal refused to touch (a protected Windows
// location) carries its reason in a second column instead of the advice to try again in Safe Mode.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "shell/skin.h"
#include "ui/form.h"

namespace grimsweep {

class Context;

inline constexpr std::string_view kProblemWindowName = "frmDelete";
inline constexpr std::string_view kProblemList = "lstProblem";

class ProblemWindow {
public:
    ProblemWindow(Context& context, const Skin& skin);

    ui::Form& Window() { return form_; }
    // The entries of the list, in order.
    std::vector<std::string> Entries() const;
    // Each entry with its reason after " - " when it has one, as Copy List and the console show them.
    std::vector<std::string> EntriesWithReasons() const;
    // Adds the entry unless the list holds it already; true when added. `reason` is empty for what could
    // not be deleted, else why the removal did not try.
    bool Add(const std::string& location, std::string_view reason = {});
    // Takes the entry off the list: it went after all.
    void Remove(const std::string& location);
    // The entry stayed because removing it needs an administrator's rights, which were not given.
    void NeedsAdministrator(const std::string& location, std::string_view reason);
    void Clear();
    // Shows the window without waiting and brings it to the front.
    void Show();
    void Hide();
    // "Copy List": every entry followed by CR LF, on an emptied clipboard.
    void CopyList();

private:
    Context& context_;
    const Skin& skin_;
    ui::Form form_;
    std::set<std::string> needAdministrator_; // case-folded entries
};

} // namespace grimsweep
