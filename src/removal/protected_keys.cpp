#include "removal/protected_keys.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "common/case_folding.h"
#include "common/text.h"

namespace grimsweep {

namespace {

// Key patterns below a hive root, folded; "*" stands for any one element.
constexpr std::array<std::string_view, 18> kProtectedPatterns = {
    "*",
    "software\\classes",
    "software\\classes\\*",
    "software\\microsoft",
    "software\\microsoft\\windows",
    "software\\microsoft\\windows\\currentversion",
    "software\\microsoft\\windows\\currentversion\\*",
    "software\\microsoft\\windows\\currentversion\\explorer\\*",
    "software\\microsoft\\windows\\currentversion\\policies\\*",
    "software\\microsoft\\windows nt",
    "software\\microsoft\\windows nt\\currentversion",
    "software\\microsoft\\windows nt\\currentversion\\*",
    "software\\microsoft\\internet explorer",
    "software\\microsoft\\internet explorer\\*",
    "software\\policies\\*",
    "software\\policies\\microsoft\\*",
    "system\\*",
    "system\\currentcontrolset\\*",
};

constexpr std::string_view kWow64Node = "wow6432node";
constexpr std::string_view kClassesSuffix = "_classes";

std::vector<std::string> FoldedElements(std::string_view path) {
    std::vector<std::string> elements;
    for (const std::string& element : Split(ReplaceAll(path, "/", "\\"), "\\")) {
        if (!element.empty()) {
            elements.push_back(FoldCase(element));
        }
    }
    return elements;
}

bool Matches(const std::vector<std::string>& key, std::string_view pattern) {
    const std::vector<std::string> parts = Split(pattern, "\\");
    if (parts.size() != key.size()) {
        return false;
    }
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (parts[i] != "*" && parts[i] != key[i]) {
            return false;
        }
    }
    return true;
}

bool IsControlSet(const std::string& element) {
    return element.size() > 10 && element.starts_with("controlset") &&
           std::all_of(element.begin() + 10, element.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

bool IsProtectedRegistryKey(RegistryRoot root, std::string_view keyPath) {
    std::vector<std::string> key = FoldedElements(keyPath);
    switch (root) {
    case RegistryRoot::ClassesRoot:
        key.insert(key.begin(), {"software", "classes"});
        break;
    case RegistryRoot::Users:
        // A user's hive ("S-1-5-21-...", ".DEFAULT") or classes ("S-1-5-21-..._Classes") below the root.
        if (key.size() <= 1) {
            return true;
        }
        if (key.front().ends_with(kClassesSuffix)) {
            key.front() = "classes";
            key.insert(key.begin(), "software");
        } else {
            key.erase(key.begin());
        }
        break;
    case RegistryRoot::CurrentUser:
    case RegistryRoot::LocalMachine:
    case RegistryRoot::CurrentConfig:
        break;
    default:
        return true;
    }
    if (key.empty()) {
        return true;
    }
    // The 32-bit view repeats the same keys below Software\Wow6432Node and Software\Classes\Wow6432Node.
    for (std::size_t i = 1; i < key.size() && i <= 2; ++i) {
        if (key[i] == kWow64Node && key[0] == "software" && (i == 1 || key[1] == "classes")) {
            key.erase(key.begin() + static_cast<std::ptrdiff_t>(i));
            break;
        }
    }
    // CurrentControlSet is one of the numbered control sets.
    if (key.size() >= 2 && key[0] == "system" && IsControlSet(key[1])) {
        key[1] = "currentcontrolset";
    }
    return std::any_of(kProtectedPatterns.begin(), kProtectedPatterns.end(),
                       [&](std::string_view pattern) { return Matches(key, pattern); });
}

} // namespace grimsweep
