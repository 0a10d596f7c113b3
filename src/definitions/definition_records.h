// The plain-line layouts of the definition files and the records the scanners take from them. Every
// parser accepts any text: a line that is no record gives nothing, never an error.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/path_macros.h"
#include "definitions/hive_codes.h"

namespace grimsweep {

// Prepares a path field: "[drive]" becomes the system drive root, the path macros are expanded, then
// every doubled backslash is collapsed once, left to right.
std::string PrepareDefinitionPath(const PathMacroTable& macros, std::string_view field);

// FileDefinition.dat: name=threat|folder|details
struct FileDefinition {
    std::string fileName;
    std::string threat;
    std::string folder;   // prepared
    std::string details;  // empty when the line has none
    std::string fullPath; // folder\name, or the bare name for a line without a folder
};
// Every line is a record (the file scan counts each line it reads).
FileDefinition ParseFileDefinition(std::string_view line, const PathMacroTable& macros);

// DirectoryDefinition.dat: label=threat|folder|details
struct DirectoryDefinition {
    std::string label; // for the progress text, without line breaks and tabs
    std::string threat;
    std::string folder; // prepared: the item itself
    std::string details;
};
// Nothing for a line without "|" or whose prepared folder is empty.
std::optional<DirectoryDefinition> ParseDirectoryDefinition(std::string_view line,
                                                            const PathMacroTable& macros);

// RegistryDefinition.dat: hive^key path^value name^=threat|details
struct RegistryDefinition {
    RegistryRoot root = RegistryRoot::ClassesRoot;
    std::string hiveName;
    std::string keyPath;
    std::string valueName; // empty: the record stands for the key itself
    std::string threat;
    std::string details;
};
// Nothing for a line without "=", with a blank hive code or a code outside the table. A line whose
// key part has no value-name field stands for the key.
std::optional<RegistryDefinition> ParseRegistryDefinition(std::string_view line,
                                                          const PathMacroTable& macros);

// ExeDefinition.dat: name=threat|folder. The folder's macros are expanded but "[drive]" is kept.
struct ExeDefinition {
    std::string fileName;
    std::string threat;
    std::string folder;
    std::string fullPath;
};
// Nothing for a line without "=".
std::optional<ExeDefinition> ParseExeDefinition(std::string_view line, const PathMacroTable& macros);

// BlockedCookies.dat: one site per line, optionally with a leading "*".
struct BlockedSite {
    std::string site;
};
BlockedSite ParseBlockedSite(std::string_view line);

// Safety.dat: tag|name=extra|path|extra. A line without "|" continues the tag of the line before it.
struct SafetyRecord {
    std::string tag;  // "SFILE", "SEXE", "SDLL", "SREG", "SDIR"
    std::string name; // trimmed part before the first "="
    std::string path; // prepared
};
// `tag` carries the tag from line to line.
SafetyRecord ParseSafetyRecord(std::string_view line, const PathMacroTable& macros, std::string& tag);
// The safe-list entry of a record: empty for an unknown tag. "\\" and "//" are collapsed.
std::string SafeEntryOf(const SafetyRecord& record);

} // namespace grimsweep
