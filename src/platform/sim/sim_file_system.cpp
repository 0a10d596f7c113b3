#include "platform/sim/sim_file_system.h"

#include <algorithm>

#include "common/case_folding.h"
#include "common/text.h"
#include "common/utf8.h"
#include "platform/canonical_path.h"
#include "platform/folder_walk.h"
#include "platform/sim/sim_full_path.h"

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
    const std::u32string name = CodePoints(FoldFileName(nameText));
    const std::u32string pattern = CodePoints(FoldFileName(patternText));
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

bool IsAtOrBelow(const std::string& key, const std::string& folderKey) {
    return key == folderKey || key.rfind(folderKey + "\\", 0) == 0;
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

namespace {

// Files are found under the full form of their path, as the system forms it before it looks.
std::string FullForm(const std::string& path) {
    if (IsPlainDrivePath(path)) {
        return path;
    }
    auto full = SimFullPathName(path);
    return full ? std::move(*full) : ReplaceAll(path, "/", "\\");
}

} // namespace

std::string SimFileSystem::KeyOf(const std::string& path) {
    std::string key = FoldFileName(FullForm(path));
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

bool SimFileSystem::InReadOnlyTree(const std::string& path) const {
    const std::string key = KeyOf(path);
    for (const std::string& tree : readOnlyTrees_) {
        if (key == tree || (key.size() > tree.size() && key.compare(0, tree.size(), tree) == 0 &&
                            key[tree.size()] == '\\')) {
            return true;
        }
    }
    return false;
}

void SimFileSystem::SetReadOnlyTree(const std::string& folder, bool readOnly) {
    Mark(readOnlyTrees_, folder, readOnly);
}

bool SimFileSystem::Attempt(FileOp op, const std::string& path, const std::string& other) {
    bool go = true;
    // The paths a change would touch: a copy only changes its destination.
    const bool changesPath = op == FileOp::SetAttributes || op == FileOp::Write || op == FileOp::Append ||
                             op == FileOp::Move || op == FileOp::Delete || op == FileOp::CreateFolder ||
                             op == FileOp::DeleteFolder;
    const bool changesOther = changesPath || op == FileOp::Copy || op == FileOp::CopyFolder;
    if ((changesPath && InReadOnlyTree(path)) || (changesOther && !other.empty() && InReadOnlyTree(other))) {
        go = false;
    }
    for (const std::string* named : {&path, &other}) {
        if (named->empty()) {
            continue;
        }
        const auto key = std::make_pair(op, KeyOf(*named));
        ++counts_[key];
        if (auto it = failuresLeft_.find(key); it != failuresLeft_.end() && it->second > 0) {
            --it->second;
            go = false;
        }
    }
    return go;
}

bool SimFileSystem::Held(const std::string& path) const {
    return Has(locked_, path) || Has(heldForReading_, path);
}

std::vector<DirectoryEntry> SimFileSystem::FindEntries(const std::string& given) {
    const std::string pattern = Resolve(given);
    std::vector<DirectoryEntry> entries;
    if (!Attempt(FileOp::Find, pattern)) {
        return entries;
    }
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
    // The folder's entries sort together, right after "folder\": only that range is walked, so a
    // listing costs what the folder holds, as on a real disk.
    const std::string prefix = folder.ends_with('\\') ? folder : folder + '\\';
    for (auto it = nodes_.lower_bound(prefix); it != nodes_.end() && it->first.starts_with(prefix); ++it) {
        const auto& [nodeKey, node] = *it;
        if (nodeKey.size() > 3 && ParentKey(nodeKey) == folder &&
            WildcardMatch(AfterLastBackslash(node.path), leaf)) {
            entries.push_back({AfterLastBackslash(node.path), node.attributes, node.data.size()});
        }
    }
    return entries;
}

std::optional<std::uint32_t> SimFileSystem::GetAttributes(const std::string& given) {
    const std::string path = Resolve(given);
    if (!Attempt(FileOp::GetAttributes, path) || HasWildcards(path)) {
        return std::nullopt;
    }
    Node* node = Lookup(path);
    if (!node) {
        return std::nullopt;
    }
    return node->attributes;
}

bool SimFileSystem::SetAttributes(const std::string& given, std::uint32_t attributes) {
    const std::string path = Resolve(given);
    // Attributes can be changed on a file another program holds open, as on Windows.
    Node* node = Attempt(FileOp::SetAttributes, path) ? Lookup(path) : nullptr;
    if (!node) {
        return false;
    }
    node->attributes = (attributes & ~kAttrDirectory) | (node->folder ? kAttrDirectory : 0);
    return true;
}

const SimFileSystem::Node* SimFileSystem::ReadableFile(const std::string& path) {
    if (!Attempt(FileOp::Read, path)) {
        return nullptr;
    }
    const Node* node = Lookup(path);
    if (!node || node->folder || Has(readFails_, path) || Has(locked_, path)) {
        return nullptr;
    }
    return node;
}

std::optional<std::string> SimFileSystem::ReadFile(const std::string& given) {
    const std::string path = Resolve(given);
    const Node* node = ReadableFile(path);
    return node ? std::optional<std::string>(node->data) : std::nullopt;
}

std::optional<std::string> SimFileSystem::ReadRange(const std::string& path, std::uint64_t offset,
                                                    std::size_t length) {
    const Node* node = ReadableFile(path);
    if (!node) {
        return std::nullopt;
    }
    if (offset >= node->data.size()) {
        return std::string();
    }
    return node->data.substr(static_cast<std::size_t>(offset), length);
}

SimFileSystem::Node* SimFileSystem::WritableFile(const std::string& path) {
    Node* node = Lookup(path);
    if (Has(writeFails_, path) || Held(path) ||
        (node && (node->folder || (node->attributes & kAttrReadOnly)))) {
        return nullptr;
    }
    if (!node) {
        if (!ParentIsFolder(path) || HasWildcards(path)) {
            return nullptr;
        }
        node = &nodes_[KeyOf(path)];
        node->path = path;
        node->attributes = kAttrArchive;
    }
    return node;
}

bool SimFileSystem::WriteFile(const std::string& path, const std::string& bytes) {
    Node* node = Attempt(FileOp::Write, path) ? WritableFile(path) : nullptr;
    if (!node) {
        return false;
    }
    node->data = bytes;
    return true;
}

bool SimFileSystem::AppendFile(const std::string& path, const std::string& bytes) {
    Node* node = Attempt(FileOp::Append, path) ? WritableFile(path) : nullptr;
    if (!node) {
        return false;
    }
    node->data += bytes;
    return true;
}

bool SimFileSystem::MoveFile(const std::string& from, const std::string& to, bool replaceExisting) {
    if (!Attempt(FileOp::Move, from, to)) {
        return false;
    }
    Node* source = Lookup(from);
    if (!source || Has(moveFails_, from) || Has(moveFails_, to) || Held(from) || Held(to) ||
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
        // A folder with a file open inside cannot be renamed.
        for (const auto& [nodeKey, node] : nodes_) {
            if (IsAtOrBelow(nodeKey, fromKey) && (locked_.count(nodeKey) || heldForReading_.count(nodeKey))) {
                return false;
            }
        }
        // Move the folder and everything below it.
        std::map<std::string, Node> moved;
        for (auto it = nodes_.begin(); it != nodes_.end();) {
            if (IsAtOrBelow(it->first, fromKey)) {
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
    Node node = std::move(*source); // a rename: the data moves, nothing is copied
    node.path = to;
    nodes_.erase(fromKey);
    nodes_[toKey] = std::move(node);
    return true;
}

bool SimFileSystem::CopyNode(const std::string& fromKey, const std::string& toPath) {
    Node copy = nodes_.at(fromKey);
    copy.path = toPath;
    nodes_[KeyOf(toPath)] = copy;
    return true;
}

bool SimFileSystem::CopyFile(const std::string& from, const std::string& to, bool failIfExists) {
    if (!Attempt(FileOp::Copy, from, to)) {
        return false;
    }
    // A file held open for reading can still be read, and so copied.
    Node* source = Lookup(from);
    if (!source || source->folder || Has(copyFails_, from) || Has(locked_, from) || Held(to) ||
        Has(writeFails_, to) || !ParentIsFolder(to)) {
        return false;
    }
    if (Node* target = Lookup(to)) {
        if (failIfExists || target->folder || (target->attributes & kAttrReadOnly)) {
            return false;
        }
    }
    const bool copied = CopyNode(KeyOf(from), to);
    if (copied && Has(copyTruncated_, from)) {
        std::string& data = Lookup(to)->data;
        data.resize(data.size() / 2);
    }
    return copied;
}

bool SimFileSystem::DeleteFile(const std::string& given) {
    const std::string path = Resolve(given);
    if (!Attempt(FileOp::Delete, path)) {
        return false;
    }
    Node* node = Lookup(path);
    if (!node || node->folder || (node->attributes & kAttrReadOnly) || Held(path)) {
        return false;
    }
    nodes_.erase(KeyOf(path));
    return true;
}

bool SimFileSystem::FolderExists(const std::string& path) {
    Node* node = Attempt(FileOp::FolderExists, path) ? Lookup(path) : nullptr;
    return node && node->folder;
}

bool SimFileSystem::CreateFolder(const std::string& path) {
    if (!Attempt(FileOp::CreateFolder, path) || Lookup(path) || !ParentIsFolder(path) || HasWildcards(path)) {
        return false;
    }
    Node& node = nodes_[KeyOf(path)];
    node.path = path;
    node.folder = true;
    node.attributes = kAttrDirectory;
    return true;
}

bool SimFileSystem::DeleteFolder(const std::string& path) {
    // As the Win32 version: every entry inside is deleted on its own (read-only ones after clearing the
    // flag), whatever fails along the way; the folder itself goes only once it is empty. What could not
    // be deleted stays, and the folders above it stay with their attributes reset to normal.
    if (!Attempt(FileOp::DeleteFolder, path)) {
        return false;
    }
    const Node* node = Lookup(path);
    const std::string key = KeyOf(path);
    if (!node || !node->folder || key.size() <= 3) {
        return false;
    }
    if (node->attributes & kAttrReparsePoint) {
        links_.erase(key);
        nodes_.erase(key);
        return true;
    }
    const bool ok = DeleteFolderContents(*this, path);
    nodes_.at(key).attributes = kAttrDirectory;
    const auto below = nodes_.lower_bound(key + "\\");
    if (below != nodes_.end() && below->first.rfind(key + "\\", 0) == 0) {
        return false; // not empty
    }
    nodes_.erase(key);
    return ok;
}

bool SimFileSystem::CopyFolder(const std::string& from, const std::string& to) {
    // As the Win32 version: the new folder is made, then every entry is copied on its own; a failing
    // entry leaves a partial copy and a false result.
    if (!Attempt(FileOp::CopyFolder, from, to)) {
        return false;
    }
    const Node* source = Lookup(from);
    return source && source->folder && !Has(copyFails_, from) && CreateFolder(to) &&
           CopyFolderContents(*this, from, to);
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

std::optional<std::string> SimFileSystem::FullPathName(const std::string& path) {
    return SimFullPathName(path);
}

std::optional<std::string> SimFileSystem::FinalPathName(const std::string& path) {
    const auto it = nodes_.find(KeyOf(Resolve(path)));
    if (it == nodes_.end()) {
        return std::nullopt;
    }
    return it->second.path;
}

std::optional<std::string> SimFileSystem::LongPathName(const std::string& path) {
    // Element by element: an element names an entry of the folder so far, or a short name of one.
    const auto elements = Split(ReplaceAll(path, "/", "\\"), "\\");
    if (elements.empty()) {
        return std::nullopt;
    }
    std::string longPath = elements.front();
    for (std::size_t i = 1; i < elements.size(); ++i) {
        if (elements[i].empty()) {
            continue;
        }
        const std::string candidate = longPath + "\\" + elements[i];
        if (Lookup(candidate)) {
            longPath = candidate;
        } else if (auto alias = shortNames_.find(KeyOf(candidate)); alias != shortNames_.end()) {
            longPath = nodes_.at(alias->second).path;
        } else {
            return std::nullopt;
        }
    }
    if (!Lookup(longPath)) {
        return std::nullopt;
    }
    return longPath;
}

void SimFileSystem::AddShortName(const std::string& path, const std::string& shortName) {
    const std::string key = KeyOf(path);
    if (nodes_.count(key) == 0) {
        return;
    }
    const std::string parent = ParentKey(key);
    shortNames_[KeyOf(parent + (parent.size() == 3 ? "" : "\\") + shortName)] = key;
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
void SimFileSystem::SetHeldOpenForReading(const std::string& path, bool held) {
    Mark(heldForReading_, path, held);
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

void SimFileSystem::SetCopyTruncated(const std::string& path, bool truncated) {
    Mark(copyTruncated_, path, truncated);
}

void SimFileSystem::FailNext(FileOp op, const std::string& path, int times) {
    failuresLeft_[{op, KeyOf(path)}] = times;
}

int SimFileSystem::Count(FileOp op, const std::string& path) const {
    auto it = counts_.find({op, KeyOf(path)});
    return it == counts_.end() ? 0 : it->second;
}

int SimFileSystem::VolumeQueries(const std::string& letter) const {
    for (const auto& drive : drives_) {
        if (EqualsIgnoreCase(drive.info.letter, letter)) {
            return drive.volumeQueries;
        }
    }
    return 0;
}

void SimFileSystem::PutFolderLink(const std::string& path, const std::string& target) {
    PutFolder(path);
    Node& node = nodes_.at(KeyOf(path));
    node.attributes = kAttrDirectory | kAttrReparsePoint;
    links_[KeyOf(path)] = target;
}

std::string SimFileSystem::Resolve(const std::string& given) const {
    // A path below a link continues in the link's target, as the system follows it.
    const std::string path = FullForm(given);
    const std::string key = KeyOf(path);
    for (const auto& [link, target] : links_) {
        if (key.size() > link.size() && key.starts_with(link) && key[link.size()] == '\\') {
            return Resolve(target + path.substr(link.size()));
        }
    }
    return path;
}

} // namespace grimsweep::sim
