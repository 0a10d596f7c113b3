#include "platform/sim/sim_file_system.h"

#include <algorithm>

#include "common/case_folding.h"
#include "common/text.h"
#include "common/utf8.h"

namespace grimsweep::sim {

namespace {

// The code points of a text; a byte that is not well-formed UTF-8 gets a value of its own above them.
std::u32string CodePoints(std::string_view text) {
    std::u32string units;
    for (std::size_t i = 0; i < text.size();) {
        const Utf8Unit unit = DecodeUtf8At(text, i);
        units += unit.wellFormed ? unit.codePoint : 0x110000 + unit.codePoint;
        i += unit.length;
    }
    return units;
}

// Wildcard match of a name against a pattern with "*" and "?" ("?" standing for one character),
// ignoring case.
bool WildcardMatch(std::string_view nameText, std::string_view patternText) {
    const std::u32string name = CodePoints(FoldCase(nameText));
    const std::u32string pattern = CodePoints(FoldCase(patternText));
    std::size_t n = 0, p = 0, star = std::u32string::npos, mark = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == U'?' || pattern[p] == name[n])) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == U'*') {
            star = p++;
            mark = n;
        } else if (star != std::u32string::npos) {
            p = star + 1;
            n = ++mark;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == U'*') {
        ++p;
    }
    return p == pattern.size();
}

bool HasWildcards(std::string_view text) {
    return text.find_first_of("*?") != std::string_view::npos;
}

// The last `count` elements of a path as it was spelt, each with the backslash before it. (A folded key
// can be shorter or longer than the path it came from, so lengths cannot be carried over.)
std::string LastElements(std::string_view path, std::size_t count) {
    std::size_t end = path.size();
    while (end > 0 && (path[end - 1] == '\\' || path[end - 1] == '/')) {
        --end;
    }
    std::size_t start = end;
    for (; count > 0 && start > 0; --start) {
        if (path[start - 1] == '\\' || path[start - 1] == '/') {
            --count;
        }
    }
    std::string tail(path.substr(start, end - start));
    std::replace(tail.begin(), tail.end(), '/', '\\');
    return tail;
}

} // namespace

SimFileSystem::SimFileSystem() {
    AddDrive("C", DriveType::Fixed, true);
}

std::string SimFileSystem::KeyOf(const std::string& path) {
    std::string key = FoldCase(ReplaceAll(path, "/", "\\"));
    while (key.size() > 3 && key.back() == '\\') {
        key.pop_back();
    }
    if (key.size() == 2 && key[1] == ':') {
        key += '\\';
    }
    return key;
}

std::string SimFileSystem::ParentKey(const std::string& key) {
    const auto slash = key.rfind('\\');
    if (slash == std::string::npos || key.size() <= 3) {
        return {};
    }
    return slash == 2 ? key.substr(0, 3) : key.substr(0, slash);
}

SimFileSystem::Node* SimFileSystem::Lookup(const std::string& path) {
    auto it = nodes_.find(KeyOf(path));
    return it == nodes_.end() ? nullptr : &it->second;
}

bool SimFileSystem::ParentIsFolder(const std::string& path) {
    auto parent = nodes_.find(ParentKey(KeyOf(path)));
    return parent != nodes_.end() && parent->second.folder;
}

bool SimFileSystem::Has(const std::set<std::string>& set, const std::string& path) const {
    return set.count(KeyOf(path)) != 0;
}

void SimFileSystem::Mark(std::set<std::string>& set, const std::string& path, bool on) {
    if (on) {
        set.insert(KeyOf(path));
    } else {
        set.erase(KeyOf(path));
    }
}

std::vector<DirectoryEntry> SimFileSystem::FindEntries(const std::string& pattern) {
    std::vector<DirectoryEntry> entries;
    const std::string key = KeyOf(pattern);
    const auto slash = key.rfind('\\');
    const std::string leaf = slash == std::string::npos ? key : key.substr(slash + 1);
    if (!HasWildcards(leaf)) {
        if (Node* node = Lookup(pattern); node && key.size() > 3) {
            entries.push_back({AfterLastBackslash(node->path), node->attributes, node->data.size()});
        }
        return entries;
    }
    std::string folder = slash == std::string::npos ? std::string() : key.substr(0, slash);
    if (folder.size() == 2) {
        folder += '\\';
    }
    for (const auto& [nodeKey, node] : nodes_) {
        if (nodeKey.size() > 3 && ParentKey(nodeKey) == folder &&
            WildcardMatch(AfterLastBackslash(node.path), leaf)) {
            entries.push_back({AfterLastBackslash(node.path), node.attributes, node.data.size()});
        }
    }
    return entries;
}

std::optional<std::uint32_t> SimFileSystem::GetAttributes(const std::string& path) {
    if (HasWildcards(path)) {
        return std::nullopt;
    }
    Node* node = Lookup(path);
    if (!node) {
        return std::nullopt;
    }
    return node->attributes;
}

bool SimFileSystem::SetAttributes(const std::string& path, std::uint32_t attributes) {
    Node* node = Lookup(path);
    if (!node) {
        return false;
    }
    node->attributes = (attributes & ~kAttrDirectory) | (node->folder ? kAttrDirectory : 0);
    return true;
}

std::optional<std::string> SimFileSystem::ReadFile(const std::string& path) {
    Node* node = Lookup(path);
    if (!node || node->folder || Has(readFails_, path) || Has(locked_, path)) {
        return std::nullopt;
    }
    return node->data;
}

bool SimFileSystem::WriteFile(const std::string& path, const std::string& bytes) {
    Node* node = Lookup(path);
    if (Has(writeFails_, path) || Has(locked_, path) ||
        (node && (node->folder || (node->attributes & kAttrReadOnly)))) {
        return false;
    }
    if (!node) {
        if (!ParentIsFolder(path) || HasWildcards(path)) {
            return false;
        }
        node = &nodes_[KeyOf(path)];
        node->path = path;
        node->attributes = kAttrArchive;
    }
    node->data = bytes;
    return true;
}

bool SimFileSystem::AppendFile(const std::string& path, const std::string& bytes) {
    Node* node = Lookup(path);
    if (!node) {
        return WriteFile(path, bytes);
    }
    if (Has(writeFails_, path) || Has(locked_, path) || node->folder || (node->attributes & kAttrReadOnly)) {
        return false;
    }
    node->data += bytes;
    return true;
}

bool SimFileSystem::MoveFile(const std::string& from, const std::string& to, bool replaceExisting) {
    Node* source = Lookup(from);
    if (!source || Has(moveFails_, from) || Has(moveFails_, to) || Has(locked_, from) || Has(locked_, to) ||
        !ParentIsFolder(to)) {
        return false;
    }
    if (KeyOf(from) == KeyOf(to)) {
        return true;
    }
    if (Node* target = Lookup(to)) {
        if (!replaceExisting || target->folder || (target->attributes & kAttrReadOnly)) {
            return false;
        }
    }
    const std::string fromKey = KeyOf(from);
    const std::string toKey = KeyOf(to);
    if (source->folder) {
        // Move the folder and everything below it.
        std::map<std::string, Node> moved;
        for (auto it = nodes_.begin(); it != nodes_.end();) {
            if (it->first == fromKey || it->first.rfind(fromKey + "\\", 0) == 0) {
                Node node = it->second;
                const auto depth = static_cast<std::size_t>(std::count(
                    it->first.begin() + static_cast<std::ptrdiff_t>(fromKey.size()), it->first.end(), '\\'));
                node.path = to + LastElements(node.path, depth);
                moved[toKey + it->first.substr(fromKey.size())] = node;
                it = nodes_.erase(it);
            } else {
                ++it;
            }
        }
        nodes_.merge(moved);
        return true;
    }
    Node node = *source;
    node.path = to;
    nodes_.erase(fromKey);
    nodes_[toKey] = node;
    return true;
}

bool SimFileSystem::CopyNode(const std::string& fromKey, const std::string& toPath) {
    Node copy = nodes_.at(fromKey);
    copy.path = toPath;
    nodes_[KeyOf(toPath)] = copy;
    return true;
}

bool SimFileSystem::CopyFile(const std::string& from, const std::string& to, bool failIfExists) {
    Node* source = Lookup(from);
    if (!source || source->folder || Has(copyFails_, from) || Has(locked_, from) || Has(locked_, to) ||
        Has(writeFails_, to) || !ParentIsFolder(to)) {
        return false;
    }
    if (Node* target = Lookup(to)) {
        if (failIfExists || target->folder || (target->attributes & kAttrReadOnly)) {
            return false;
        }
    }
    return CopyNode(KeyOf(from), to);
}

bool SimFileSystem::DeleteFile(const std::string& path) {
    Node* node = Lookup(path);
    if (!node || node->folder || (node->attributes & kAttrReadOnly) || Has(locked_, path)) {
        return false;
    }
    nodes_.erase(KeyOf(path));
    return true;
}

bool SimFileSystem::FolderExists(const std::string& path) {
    Node* node = Lookup(path);
    return node && node->folder;
}

bool SimFileSystem::CreateFolder(const std::string& path) {
    if (Lookup(path) || !ParentIsFolder(path) || HasWildcards(path)) {
        return false;
    }
    Node& node = nodes_[KeyOf(path)];
    node.path = path;
    node.folder = true;
    node.attributes = kAttrDirectory;
    return true;
}

bool SimFileSystem::DeleteFolder(const std::string& path) {
    Node* node = Lookup(path);
    const std::string key = KeyOf(path);
    if (!node || !node->folder || key.size() <= 3) {
        return false;
    }
    for (const auto& [nodeKey, inner] : nodes_) {
        if ((nodeKey == key || nodeKey.rfind(key + "\\", 0) == 0) && locked_.count(nodeKey)) {
            return false;
        }
    }
    std::erase_if(
        nodes_, [&](const auto& item) { return item.first == key || item.first.rfind(key + "\\", 0) == 0; });
    return true;
}

bool SimFileSystem::CopyFolder(const std::string& from, const std::string& to) {
    Node* source = Lookup(from);
    if (!source || !source->folder || Lookup(to) || !ParentIsFolder(to) || Has(copyFails_, from)) {
        return false;
    }
    const std::string fromKey = KeyOf(from);
    std::vector<std::string> keys;
    for (const auto& [nodeKey, node] : nodes_) {
        if (nodeKey == fromKey || nodeKey.rfind(fromKey + "\\", 0) == 0) {
            if (locked_.count(nodeKey) || copyFails_.count(nodeKey)) {
                return false;
            }
            keys.push_back(nodeKey);
        }
    }
    for (const auto& key : keys) {
        const auto depth = static_cast<std::size_t>(
            std::count(key.begin() + static_cast<std::ptrdiff_t>(fromKey.size()), key.end(), '\\'));
        CopyNode(key, to + LastElements(nodes_.at(key).path, depth));
        source = Lookup(from);
    }
    return true;
}

std::vector<DriveInfo> SimFileSystem::ListDrives() {
    std::vector<DriveInfo> drives;
    for (const auto& drive : drives_) {
        drives.push_back(drive.info);
    }
    return drives;
}

bool SimFileSystem::IsDriveReady(const std::string& letter) {
    for (auto& drive : drives_) {
        if (EqualsIgnoreCase(drive.info.letter, letter)) {
            ++drive.volumeQueries;
            return drive.ready;
        }
    }
    return false;
}

void SimFileSystem::PutFolder(const std::string& path) {
    const std::string key = KeyOf(path);
    if (key.empty()) {
        return;
    }
    if (const std::string parent = ParentKey(key); !parent.empty() && !nodes_.count(parent)) {
        PutFolder(path.substr(0, path.rfind('\\') == 2 ? 3 : path.rfind('\\')));
    }
    Node& node = nodes_[key];
    if (node.path.empty()) {
        node.path = key.size() == 3 ? ToUpper(key) : path;
    }
    node.folder = true;
    node.attributes |= kAttrDirectory;
}

void SimFileSystem::PutFile(const std::string& path, const std::string& bytes, std::uint32_t attributes) {
    const auto slash = path.rfind('\\');
    if (slash != std::string::npos) {
        PutFolder(path.substr(0, slash == 2 ? 3 : slash));
    }
    Node& node = nodes_[KeyOf(path)];
    node.path = path;
    node.folder = false;
    node.attributes = attributes & ~kAttrDirectory;
    node.data = bytes;
}

void SimFileSystem::AddDrive(const std::string& letter, DriveType type, bool ready) {
    drives_.push_back({{ToUpper(letter), type}, ready, 0});
    PutFolder(ToUpper(letter) + ":\\");
}

bool SimFileSystem::Exists(const std::string& path) const {
    return nodes_.count(KeyOf(path)) != 0;
}

std::string SimFileSystem::Contents(const std::string& path) const {
    auto it = nodes_.find(KeyOf(path));
    return it == nodes_.end() ? std::string() : it->second.data;
}

void SimFileSystem::SetLocked(const std::string& path, bool locked) {
    Mark(locked_, path, locked);
}
void SimFileSystem::SetReadFails(const std::string& path, bool fails) {
    Mark(readFails_, path, fails);
}
void SimFileSystem::SetWriteFails(const std::string& path, bool fails) {
    Mark(writeFails_, path, fails);
}
void SimFileSystem::SetCopyFails(const std::string& path, bool fails) {
    Mark(copyFails_, path, fails);
}
void SimFileSystem::SetMoveFails(const std::string& path, bool fails) {
    Mark(moveFails_, path, fails);
}

int SimFileSystem::VolumeQueries(const std::string& letter) const {
    for (const auto& drive : drives_) {
        if (EqualsIgnoreCase(drive.info.letter, letter)) {
            return drive.volumeQueries;
        }
    }
    return 0;
}

} // namespace grimsweep::sim
