// Plain linear versions of the safe-list and exclusion tests, written step by step after the rules, for
// the differential tests and the benchmark of the hashed lookups. "Ignoring case" is simple Unicode case
// folding of each text, as Windows compares names.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/case_folding.h"
#include "common/text.h"

namespace grimsweep::reference {

inline bool LinearIsSafeItem(const std::vector<std::string>& entries, std::string_view path) {
    std::string s = Trim(FoldCase(path));
    if (s.empty() || s == " ") {
        return true;
    }
    if (s.back() == '/') {
        s.pop_back();
    }
    if (!s.empty() && s.back() == '\\') {
        s.pop_back();
    }
    if (s.empty()) {
        return true;
    }
    for (const auto& entry : entries) {
        std::string t = Trim(FoldCase(entry));
        if (t.empty() || t == " ") {
            continue;
        }
        if (t.back() == '/') {
            t.pop_back();
        }
        if (!t.empty() && t.back() == '\\') {
            t.pop_back();
        }
        if (t.empty()) {
            continue;
        }
        if (t == s || t == s + "\\" || t + "\\" == s) {
            return true;
        }
        const std::string upper = ToUpper(s);
        for (const char* root : {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS",
                                 "HKEY_CURRENT_CONFIG"}) {
            if (upper == root || upper == std::string(root) + "\\") {
                return true;
            }
        }
    }
    return false;
}

inline bool LinearIsExcluded(const std::string& form, std::string_view name) {
    for (const auto& piece : Split(form, "|")) {
        if (FoldCase(piece) == FoldCase(name) || FoldCase(piece) == FoldCase(Trim(name))) {
            return true;
        }
    }
    return false;
}

inline bool LinearIsExcludedFolder(const std::string& form, std::string_view name) {
    for (const auto& piece : Split(form, "|")) {
        if (FoldCase(piece) == FoldCase(name) || FoldCase(piece) == FoldCase(Trim(name)) ||
            ContainsFolded(piece, name)) {
            return true;
        }
    }
    return false;
}

} // namespace grimsweep::reference
