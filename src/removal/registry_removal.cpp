#include "removal/registry_removal.h"

#include <charconv>

#include "common/text.h"
#include "core/context.h"
#include "removal/protected_keys.h"
#include "removal/quarantine_index.h"
#include "removal/registry_backup.h"

namespace grimsweep {

namespace {

constexpr RegistryRoot kRoots[] = {RegistryRoot::ClassesRoot,   RegistryRoot::CurrentUser,
                                   RegistryRoot::LocalMachine,  RegistryRoot::Users,
                                   RegistryRoot::CurrentConfig, RegistryRoot::DynData};
constexpr std::string_view kRegExtension = ".reg";

// The quarantine key under which a backup is remembered within one removal.
std::string BackupKey(const RegistryEntry& entry) {
    return std::string(kRegistryBackupKeyPrefix) + RegistryEntryText(entry) + (entry.wholeKey ? "\\*" : "");
}

// A file name for the entry's .reg backup: its value's or key's own name, with what a file name cannot
// hold replaced.
std::string BackupFileName(const RegistryEntry& entry) {
    std::string name =
        entry.wholeKey || entry.valueName.empty() ? AfterLastBackslash(entry.keyPath) : entry.valueName;
    for (char& c : name) {
        if (static_cast<unsigned char>(c) < 0x20 ||
            std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) {
            c = '_';
        }
    }
    if (name.empty() || name.find_first_not_of(". ") == std::string::npos) {
        name = "registry";
    }
    return name + std::string(kRegExtension);
}

} // namespace

std::optional<RegistryEntry> ParseRegistryEntry(const std::string& root, const std::string& keyPath,
                                                const std::string& valueName) {
    const std::string rootText = Trim(root);
    const std::string key = Trim(keyPath);
    if (rootText.empty() || key.empty()) {
        return std::nullopt;
    }
    std::int64_t number = 0;
    const auto [end, error] = std::from_chars(rootText.data(), rootText.data() + rootText.size(), number);
    if (error != std::errc() || end != rootText.data() + rootText.size()) {
        return std::nullopt;
    }
    for (RegistryRoot candidate : kRoots) {
        if (static_cast<std::int64_t>(candidate) == number) {
            RegistryEntry entry;
            entry.root = candidate;
            entry.keyPath = keyPath;
            entry.valueName = valueName;
            entry.wholeKey = Trim(valueName).empty();
            return entry;
        }
    }
    return std::nullopt;
}

std::string RegistryEntryText(const RegistryEntry& entry) {
    std::string text = std::string(RegistryRootName(entry.root)) + "\\" + entry.keyPath;
    if (!entry.wholeKey) {
        text += "\\" + entry.valueName;
    }
    return text;
}

RegistryRemoval::RegistryRemoval(Context& context, QuarantineStore& store, QuarantineLog& log)
    : context_(context), store_(store), log_(log) {}

bool RegistryRemoval::Present(const RegistryEntry& entry) {
    IRegistry& registry = context_.machine.registry;
    if (entry.wholeKey) {
        return registry.OpenKey(entry.root, entry.keyPath, kKeyRead) != kRegistryNotFound;
    }
    RegistryValue value;
    return registry.QueryValue(entry.root, entry.keyPath, entry.valueName, kKeyRead, value) !=
           kRegistryNotFound;
}

bool RegistryRemoval::BackedUp(const RegistryEntry& entry) {
    const std::string key = BackupKey(entry);
    if (store_.Known(key)) {
        return true;
    }
    const std::optional<std::string> valueName =
        entry.wholeKey ? std::nullopt : std::optional<std::string>(entry.valueName);
    const auto text = ExportRegistryEntry(context_.machine.registry, context_.machine.system, entry.root,
                                          entry.keyPath, valueName);
    if (!text) {
        return false;
    }
    store_.EnsureFolder();
    const auto name = store_.StoreFile(BackupFileName(entry), *text);
    if (!name) {
        return false;
    }
    store_.Remember(key, *name);
    return true;
}

void RegistryRemoval::Index(const RegistryEntry& entry) {
    QuarantineStore::Backup* backup = store_.Known(BackupKey(entry));
    if (!backup) {
        return;
    }
    backup->removed = true;
    if (backup->indexed) {
        return;
    }
    QuarantineItem item;
    item.number = store_.TakeItemNumber();
    item.kind = entry.wholeKey ? QuarantineKind::Key : QuarantineKind::Value;
    item.backupName = backup->name;
    item.origin = std::string(RegistryRootName(entry.root)) + "\\" + entry.keyPath;
    item.valueName = entry.wholeKey ? std::string() : entry.valueName;
    item.when = log_.Timestamp();
    backup->indexed = AppendQuarantineItem(context_, item);
}

bool RegistryRemoval::DeleteValue(const RegistryEntry& entry, const std::string& valueName) {
    if (context_.machine.registry.DeleteValue(entry.root, entry.keyPath, valueName) != kRegistryOk) {
        return false;
    }
    // A delete succeeds once, so whichever pass makes it writes the record.
    const bool wasLogging = log_.logging;
    log_.logging = true;
    log_.LogRemovedRegistryEntry(std::string(RegistryRootName(entry.root)) + "\\" + entry.keyPath, valueName);
    log_.logging = wasLogging;
    return true;
}

void RegistryRemoval::Remove(const RegistryEntry& entry) {
    if (entry.wholeKey && IsProtectedRegistryKey(entry.root, entry.keyPath)) {
        return;
    }
    if (!Present(entry) || !BackedUp(entry)) {
        return;
    }
    // Both records must be able to follow the delete.
    if (!log_.Writable() || !context_.machine.files.AppendFile(QuarantineIndexPath(context_), "")) {
        return;
    }
    if (!entry.wholeKey) {
        if (DeleteValue(entry, entry.valueName)) {
            Index(entry);
        }
        return;
    }
    const bool defaultDeleted = DeleteValue(entry, "");
    const bool keyDeleted = context_.machine.registry.DeleteKeyTree(entry.root, entry.keyPath) == kRegistryOk;
    if (keyDeleted) {
        const bool wasLogging = log_.logging;
        log_.logging = true;
        log_.LogRemovedRegistryEntry(
            std::to_string(static_cast<std::int32_t>(entry.root)) + "\\" + entry.keyPath, kAllValues);
        log_.logging = wasLogging;
    }
    if (defaultDeleted || keyDeleted) {
        Index(entry);
    }
}

} // namespace grimsweep
