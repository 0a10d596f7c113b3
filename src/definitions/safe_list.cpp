#include "definitions/safe_list.h"

#include <array>

#include "common/case_folding.h"
#include "common/text.h"
#include "core/context.h"
#include "definitions/definition_files.h"
#include "definitions/definition_records.h"
#include "definitions/line_code.h"
#include "platform/text_files.h"

namespace grimsweep {

namespace {

// The roots that count as safe whenever the list holds a usable entry (HKEY_DYN_DATA is not one).
constexpr std::array<std::string_view, 5> kSafeHiveRoots = {
    "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS", "HKEY_CURRENT_CONFIG"};

// Case-folded and trimmed, then one trailing "/" and one trailing "\" removed.
std::string Normalise(std::string_view text) {
    std::string s = Trim(FoldCase(text));
    if (!s.empty() && s.back() == '/') {
        s.pop_back();
    }
    if (!s.empty() && s.back() == '\\') {
        s.pop_back();
    }
    return s;
}

bool IsHiveRoot(std::string_view normalised) {
    const std::string upper = ToUpper(normalised);
    for (const auto root : kSafeHiveRoots) {
        if (upper == root || upper == std::string(root) + "\\") {
            return true;
        }
    }
    return false;
}

} // namespace

void SafeList::Assign(std::vector<std::string> entries) {
    entries_ = std::move(entries);
    normalised_.clear();
    normalised_.reserve(entries_.size());
    for (const auto& entry : entries_) {
        // A blank entry (or one that is only a slash) is skipped by every test.
        if (std::string t = Normalise(entry); !t.empty()) {
            normalised_.insert(std::move(t));
        }
    }
}

bool SafeList::IsSafeItem(std::string_view path) const {
    const std::string s = Normalise(path);
    if (s.empty()) {
        return true;
    }
    // An entry t matches when t == s, t == s + "\" or t + "\" == s.
    if (normalised_.count(s) != 0 || normalised_.count(s + "\\") != 0) {
        return true;
    }
    if (s.back() == '\\' && normalised_.count(s.substr(0, s.size() - 1)) != 0) {
        return true;
    }
    return !normalised_.empty() && IsHiveRoot(s);
}

std::vector<std::string> SafeListEntries(const std::vector<std::string>& plainLines,
                                         const PathMacroTable& macros) {
    std::string text;
    std::string tag;
    for (const auto& line : plainLines) {
        text += SafeEntryOf(ParseSafetyRecord(line, macros, tag));
        text += kCrLf;
    }
    return Split(text, kCrLf);
}

bool LoadSafeList(Context& context, SafeList& list, const std::function<bool()>& stopRequested) {
    auto lines =
        ReadDefinitionLines(context.machine.files, context.machine.system, context.DataFile(kSafetyFile));
    if (!lines) {
        list.Assign({});
        return true;
    }
    std::size_t taken = 0;
    for (; taken < lines->size(); ++taken) {
        if (stopRequested && stopRequested()) {
            break;
        }
        context.host.PumpMessages();
    }
    lines->resize(taken);
    list.Assign(SafeListEntries(*lines, PathMacroTable::Capture(context.machine.shell)));
    return true;
}

} // namespace grimsweep
