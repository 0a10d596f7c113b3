#include "platform/sim/sim_registry.h"

#include "common/case_folding.h"
#include "common/text.h"
#include "common/utf16.h"

namespace grimsweep::sim {

namespace {

std::vector<std::string> PathParts(const std::string& path) {
    std::vector<std::string> parts;
    for (auto& piece : Split(path, "\\")) {
        if (!piece.empty()) {
            parts.push_back(std::move(piece));
        }
    }
    return parts;
}

// A value as QueryValue gives it: string data read back by the system's rule, so that a text with a NUL
// inside reads as Windows reads what SetValue stored for it.
RegistryValue AsRead(const RegistryValue& stored) {
    const bool isString =
        stored.type == RegistryValueType::String || stored.type == RegistryValueType::ExpandString;
    if (!isString || (!stored.rawString && stored.text.find('\0') == std::string::npos)) {
        return stored;
    }
    if (stored.rawString) {
        return RegistryStringFromData(stored.type, stored.bytes);
    }
    const auto data = Utf8ToUtf16Le(stored.text);
    return data ? RegistryStringFromData(stored.type, *data + std::string(2, '\0')) : stored;
}

} // namespace

SimRegistry::SimRegistry() {
    for (auto root : {RegistryRoot::ClassesRoot, RegistryRoot::CurrentUser, RegistryRoot::LocalMachine,
                      RegistryRoot::Users, RegistryRoot::CurrentConfig}) {
        roots_[root];
    }
}

const SimRegistry::Key* SimRegistry::Find(RegistryRoot root, const std::string& path,
                                          std::uint32_t* denied) const {
    auto rootIt = roots_.find(root);
    if (rootIt == roots_.end()) {
        return nullptr;
    }
    const Key* key = &rootIt->second;
    std::uint32_t rights = key->deniedRights;
    for (const auto& part : PathParts(path)) {
        auto child = key->children.find(FoldCase(part));
        if (child == key->children.end()) {
            return nullptr;
        }
        key = child->second.get();
        rights |= key->deniedRights;
    }
    if (denied) {
        *denied = rights;
    }
    return key;
}

SimRegistry::Key* SimRegistry::Find(RegistryRoot root, const std::string& path, std::uint32_t* denied) {
    return const_cast<Key*>(static_cast<const SimRegistry*>(this)->Find(root, path, denied));
}

RegistryStatus SimRegistry::OpenForAccess(RegistryRoot root, const std::string& path, std::uint32_t access,
                                          Key** key) {
    std::uint32_t denied = 0;
    Key* found = Find(root, path, &denied);
    if (!found) {
        return kRegistryNotFound;
    }
    if (denied & access) {
        return kRegistryAccessDenied;
    }
    *key = found;
    return kRegistryOk;
}

RegistryStatus SimRegistry::OpenKey(RegistryRoot root, const std::string& path, std::uint32_t access) {
    Key* key = nullptr;
    return OpenForAccess(root, path, access, &key);
}

RegistryStatus SimRegistry::CreateKey(RegistryRoot root, const std::string& path) {
    auto rootIt = roots_.find(root);
    if (rootIt == roots_.end()) {
        return kRegistryNotFound;
    }
    Key* key = &rootIt->second;
    std::uint32_t rights = key->deniedRights;
    for (const auto& part : PathParts(path)) {
        auto& slot = key->children[FoldCase(part)];
        if (!slot) {
            if (rights & kKeyCreateSubKey) {
                key->children.erase(FoldCase(part));
                return kRegistryAccessDenied;
            }
            slot = std::make_unique<Key>();
            slot->name = part;
        }
        key = slot.get();
        rights |= key->deniedRights;
    }
    return (rights & kKeyFullAccess) ? kRegistryAccessDenied : kRegistryOk;
}

RegistryStatus SimRegistry::QueryValue(RegistryRoot root, const std::string& path, const std::string& name,
                                       std::uint32_t access, RegistryValue& out) {
    Key* key = nullptr;
    if (auto status = OpenForAccess(root, path, access, &key); status != kRegistryOk) {
        return status;
    }
    auto it = key->values.find(FoldCase(name));
    if (it == key->values.end()) {
        return kRegistryNotFound;
    }
    out = AsRead(it->second.second);
    return kRegistryOk;
}

RegistryStatus SimRegistry::SetValue(RegistryRoot root, const std::string& path, const std::string& name,
                                     const RegistryValue& value) {
    Key* key = nullptr;
    if (auto status = OpenForAccess(root, path, kKeySetValue, &key); status != kRegistryOk) {
        return status;
    }
    key->values[FoldCase(name)] = {name, value};
    return kRegistryOk;
}

RegistryStatus SimRegistry::DeleteValue(RegistryRoot root, const std::string& path, const std::string& name) {
    Key* key = nullptr;
    if (auto status = OpenForAccess(root, path, kKeySetValue, &key); status != kRegistryOk) {
        return status;
    }
    if (!key->values.count(FoldCase(name))) {
        return kRegistryNotFound;
    }
    if (key->valueDeleteFails) {
        return kRegistryAccessDenied;
    }
    key->values.erase(FoldCase(name));
    return kRegistryOk;
}

RegistryStatus SimRegistry::DeleteKeyTree(RegistryRoot root, const std::string& path) {
    auto parts = PathParts(path);
    if (parts.empty()) {
        return kRegistryAccessDenied;
    }
    const std::string last = FoldCase(parts.back());
    parts.pop_back();
    std::string parentPath;
    for (const auto& part : parts) {
        parentPath += part + "\\";
    }
    std::uint32_t denied = 0;
    Key* parent = Find(root, parentPath, &denied);
    if (!parent || !parent->children.count(last)) {
        return kRegistryNotFound;
    }
    if ((denied | parent->children[last]->deniedRights) & kKeySetValue) {
        return kRegistryAccessDenied;
    }
    return DeleteTree(*parent, last);
}

RegistryStatus SimRegistry::DeleteTree(Key& parent, const std::string& childKey) {
    // As the system's tree delete: the first sub-key is deleted, whole, again and again; the first
    // failure ends the walk, leaving the sub-keys after it and the key itself in place.
    Key& child = *parent.children.at(childKey);
    while (!child.children.empty()) {
        if (const auto status = DeleteTree(child, child.children.begin()->first); status != kRegistryOk) {
            return status;
        }
    }
    if (child.keyDeleteFails) {
        return kRegistryAccessDenied;
    }
    parent.children.erase(childKey);
    return kRegistryOk;
}

RegistryStatus SimRegistry::ListSubKeys(RegistryRoot root, const std::string& path,
                                        std::vector<std::string>& names) {
    names.clear();
    Key* key = nullptr;
    if (auto status = OpenForAccess(root, path, kKeyEnumerateSubKeys, &key); status != kRegistryOk) {
        return status;
    }
    for (const auto& [upper, child] : key->children) {
        names.push_back(child->name);
    }
    return kRegistryOk;
}

RegistryStatus SimRegistry::ListValueNames(RegistryRoot root, const std::string& path,
                                           std::vector<std::string>& names) {
    names.clear();
    Key* key = nullptr;
    if (auto status = OpenForAccess(root, path, kKeyQueryValue, &key); status != kRegistryOk) {
        return status;
    }
    for (const auto& [upper, entry] : key->values) {
        names.push_back(entry.first);
    }
    return kRegistryOk;
}

void SimRegistry::DenyAccess(RegistryRoot root, const std::string& path, std::uint32_t rights) {
    CreateKey(root, path);
    if (Key* key = Find(root, path, nullptr)) {
        key->deniedRights |= rights;
    }
}

void SimRegistry::SetValueDeleteFails(RegistryRoot root, const std::string& path, bool fails) {
    CreateKey(root, path);
    if (Key* key = Find(root, path, nullptr)) {
        key->valueDeleteFails = fails;
    }
}

void SimRegistry::SetKeyDeleteFails(RegistryRoot root, const std::string& path, bool fails) {
    CreateKey(root, path);
    if (Key* key = Find(root, path, nullptr)) {
        key->keyDeleteFails = fails;
    }
}

void SimRegistry::AllowAccess(RegistryRoot root, const std::string& path) {
    if (Key* key = Find(root, path, nullptr)) {
        key->deniedRights = 0;
    }
}

void SimRegistry::PutString(RegistryRoot root, const std::string& path, const std::string& name,
                            const std::string& text) {
    CreateKey(root, path);
    if (Key* key = Find(root, path, nullptr)) {
        key->values[FoldCase(name)] = {name, RegistryValue::String(text)};
    }
}

bool SimRegistry::KeyExists(RegistryRoot root, const std::string& path) const {
    return Find(root, path, nullptr) != nullptr;
}

std::optional<RegistryValue> SimRegistry::Value(RegistryRoot root, const std::string& path,
                                                const std::string& name) const {
    const Key* key = Find(root, path, nullptr);
    if (!key) {
        return std::nullopt;
    }
    auto it = key->values.find(FoldCase(name));
    if (it == key->values.end()) {
        return std::nullopt;
    }
    return it->second.second;
}

} // namespace grimsweep::sim
