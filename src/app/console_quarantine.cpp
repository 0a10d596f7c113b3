#include "app/console_quarantine.h"

#include <charconv>
#include <optional>
#include <set>

#include "common/case_folding.h"
#include "removal/quarantine_folder.h"
#include "removal/quarantine_restore.h"

namespace grimsweep {

namespace {

constexpr std::string_view kEmpty = "The quarantine holds no items.";
constexpr std::string_view kRestoredMark = "restored";
constexpr std::string_view kUsage =
    "Usage: gscan restore ITEM...  (ITEM: a number or backup name from gscan quarantine)";
constexpr std::size_t kKindWidth = 6;

// The index of the item that the text names: its number or its backup name.
std::optional<std::size_t> FindItem(const std::vector<QuarantineItem>& items, const std::string& text) {
    std::uint64_t number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error == std::errc() && end == text.data() + text.size()) {
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (items[i].number == number) {
                return i;
            }
        }
        return std::nullopt;
    }
    // A name can come back once its backup is gone: the newest item of the name is the one it holds.
    for (std::size_t i = items.size(); i-- > 0;) {
        if (EqualsFolded(items[i].backupName, text)) {
            return i;
        }
    }
    return std::nullopt;
}

} // namespace

int ListQuarantine(Context& context, std::ostream& out) {
    const std::vector<QuarantineItem> items = ReadQuarantineIndex(context);
    out << "Quarantine: " << QuarantineFolder(context) << "\n";
    if (items.empty()) {
        out << kEmpty << "\n";
        return kConsoleRestoreDone;
    }
    const std::size_t numberWidth = std::to_string(NextItemNumber(items) - 1).size();
    for (const QuarantineItem& item : items) {
        const std::string number = std::to_string(item.number);
        const std::string_view kind = QuarantineKindName(item.kind);
        out << std::string(numberWidth - number.size(), ' ') << number << "  " << kind
            << std::string(kind.size() < kKindWidth ? kKindWidth - kind.size() : 0, ' ') << "  "
            << item.backupName << "  " << OriginText(item) << "  " << item.when;
        if (item.restored) {
            out << "  " << kRestoredMark;
        }
        out << "\n";
    }
    return kConsoleRestoreDone;
}

int RestoreFromConsole(Context& context, const std::vector<std::string>& names, std::ostream& out) {
    if (names.empty()) {
        out << kUsage << "\n";
        return kConsoleRestoreError;
    }
    const std::vector<QuarantineItem> items = ReadQuarantineIndex(context);
    if (items.empty()) {
        out << kEmpty << "\n";
        return kConsoleRestoreError;
    }
    // Every name is looked up before anything is restored, so that a typing error restores nothing.
    std::vector<std::size_t> chosen;
    std::set<std::size_t> seen;
    bool unknown = false;
    for (const std::string& name : names) {
        const auto found = FindItem(items, name);
        if (!found) {
            out << "No quarantined item \"" << name << "\" (gscan quarantine lists them).\n";
            unknown = true;
        } else if (seen.insert(*found).second) {
            chosen.push_back(*found);
        }
    }
    if (unknown) {
        return kConsoleRestoreError;
    }
    bool all = true;
    for (std::size_t index : chosen) {
        const QuarantineItem& item = items[index];
        // Nobody is there to ask, so nothing is replaced.
        const RestoreOutcome outcome = RestoreQuarantinedItem(context, item, nullptr);
        if (outcome.Restored()) {
            out << "Restored: " << item.backupName << " -> " << outcome.target;
            if (outcome.keptEntries > 0) {
                out << " (" << outcome.keptEntries << " entries already there were kept)";
            }
            out << "\n";
        } else {
            all = false;
            out << "Not restored: " << item.backupName << " -> " << outcome.target << ": "
                << RestoreStatusText(outcome.status) << "\n";
        }
    }
    out << std::flush;
    return all ? kConsoleRestoreDone : kConsoleRestoreIncomplete;
}

} // namespace grimsweep
