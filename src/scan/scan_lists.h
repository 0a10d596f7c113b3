// The result lists of the main window as the scan fills them: the results list (lvwSpywareFound), the
// removal list the user ticks, and the hidden per-kind lists the removal works from.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/registry.h"
#include "scan/listed_prefix_index.h"

namespace grimsweep {

namespace ui {
class Control;
class Form;
} // namespace ui

inline constexpr std::string_view kFoundList = "lvwSpywareFound";
inline constexpr std::string_view kRemovalListName = "lvwPicRemoveListOfSpywareFoundAndToBeRemoved";
inline constexpr std::string_view kFilesToDeleteList = "lvwFilesToBeDeleted";
inline constexpr std::string_view kRegistryToDeleteList = "lvwRegistryToBeDeleted";
inline constexpr std::string_view kCookiesToDeleteList = "lvwCookiesToDelete";
inline constexpr std::string_view kFileNotFoundList = "lvwFileNotFounds";

// Text added after a threat's name in the results list; also the "already listed" prefix.
inline constexpr std::string_view kFoundSuffix = " - Found";
inline constexpr std::string_view kExcludedPrefix = "EXCLUDED: ";

class ScanLists {
public:
    // The form must hold the six lists.
    explicit ScanLists(ui::Form& form);

    ui::Control& Found() const { return found_; }
    ui::Control& Removal() const { return removal_; }
    ui::Control& Files() const { return files_; }
    ui::Control& Registry() const { return registry_; }
    ui::Control& Cookies() const { return cookies_; }
    ui::Control& NotFound() const { return notFound_; }

    // Empties every list.
    void Clear();
    // A line of the results list (icon 0: none).
    void AddFound(std::string text, int icon);
    // "EXCLUDED: " + what, with the excluded icon.
    void AddExcluded(std::string_view what);
    // Whether the results list holds a line that begins with threat + " - Found", ignoring case.
    bool ThreatListed(std::string_view threat) const;
    // A FoundItem row of the removal list: sub-item 1 the location, sub-item 2 the details when present.
    void AddRemovalRow(std::string text, int kind, std::string location, std::string_view details);
    // Partner rows of the hidden lists.
    void AddFileRow(std::string path, std::string threat);
    void AddRegistryRow(RegistryRoot root, std::string keyPath, std::string valueName, std::string threat);
    void AddCookieRow(std::string path);
    // Copies a removal row's check mark to its partner rows in the hidden lists: by its location for a
    // cookie or folder, by threat name (or, for a registry key listed by its path, by key path) for the
    // others, and then every other trace that carries its threat name. Names and paths compare with case
    // folding, as ThreatListed does. A row without a threat name has partners by its location only.
    void CopyCheckToPartners(std::size_t removalRow);

    // Frames many row additions so that the windows draw them once; pairs nest.
    void BeginUpdate();
    void EndUpdate();
    // Inside an update: lets the windows draw the rows added so far, and goes on collecting.
    void Flush();

private:
    ui::Control& found_;
    ui::Control& removal_;
    ui::Control& files_;
    ui::Control& registry_;
    ui::Control& cookies_;
    ui::Control& notFound_;
    // The case-folded texts of the results list, for the "already listed" test. It follows the lines
    // added through this object; the list is only otherwise changed by clearing it here.
    ListedPrefixIndex listed_;
    int updates_ = 0;
};

} // namespace grimsweep
