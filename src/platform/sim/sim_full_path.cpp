#include "platform/sim/sim_full_path.h"

#include <algorithm>
#include <vector>

#include "platform/canonical_path.h"

namespace grimsweep::sim {

namespace {

// The part of the path that ".." never climbs above, and where the elements start.
struct Root {
    std::string text;
    std::size_t elementsFrom = 0;
    bool local = true; // a drive path, where reserved device names apply
};

Root RootOf(const std::string& path) {
    const bool drive = path.size() >= 2 && path[1] == ':';
    if (path.starts_with("\\\\?\\") || path.starts_with("\\\\.\\")) {
        return {path.substr(0, 4), 4, false};
    }
    if (path.starts_with("\\\\")) {
        // \\server\share
        std::size_t end = path.find('\\', 2);
        end = end == std::string::npos ? path.size() : path.find('\\', end + 1);
        end = end == std::string::npos ? path.size() : end;
        return {path.substr(0, end), end, false};
    }
    if (drive) {
        // "C:\x" and the drive-relative "C:x", whose current folder on the simulated machine is the root.
        return {path.substr(0, 2) + "\\", 2, true};
    }
    // "\x" and "x": the current drive and folder are C:\.
    return {"C:\\", 0, true};
}

} // namespace

std::optional<std::string> SimFullPathName(std::string_view given) {
    std::string path(given);
    std::replace(path.begin(), path.end(), '/', '\\');
    if (path.empty()) {
        return std::nullopt;
    }
    const Root root = RootOf(path);
    std::vector<std::string> elements;
    const std::string rest = path.substr(std::min(root.elementsFrom, path.size()));
    for (std::size_t start = 0; start <= rest.size();) {
        std::size_t end = rest.find('\\', start);
        if (end == std::string::npos) {
            end = rest.size();
        }
        std::string element = rest.substr(start, end - start);
        start = end + 1;
        if (element.empty() || element == ".") {
            continue;
        }
        if (element == "..") {
            if (!elements.empty()) {
                elements.pop_back();
            }
            continue;
        }
        const bool last = end == rest.size();
        if (last) {
            while (!element.empty() && (element.back() == '.' || element.back() == ' ')) {
                element.pop_back();
            }
        } else if (element.back() == '.') {
            element.pop_back();
        }
        elements.push_back(element);
    }
    const bool endsInElement =
        !rest.empty() && rest.back() != '\\' && !elements.empty() && !elements.back().empty();
    if (root.local && endsInElement && IsReservedDeviceName(elements.back())) {
        std::string base = elements.back().substr(0, elements.back().find('.'));
        while (!base.empty() && base.back() == ' ') {
            base.pop_back();
        }
        return "\\\\.\\" + base;
    }
    std::string full = root.text;
    for (std::size_t i = 0; i < elements.size(); ++i) {
        if (elements[i].empty()) {
            continue; // a last element of nothing but dots and blanks: the folder before it, with "\"
        }
        if (!full.empty() && full.back() != '\\') {
            full += '\\';
        }
        full += elements[i];
    }
    if ((!rest.empty() && rest.back() == '\\') || (!elements.empty() && elements.back().empty())) {
        if (full.back() != '\\') {
            full += '\\';
        }
    }
    return full;
}

} // namespace grimsweep::sim
