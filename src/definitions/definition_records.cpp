#include "definitions/definition_records.h"

#include "common/text.h"

namespace grimsweep {

namespace {

constexpr std::string_view kDoubleBackslash = "\\\\";
constexpr std::string_view kBackslash = "\\";

std::string CollapseBackslashes(std::string path) {
    if (path.find(kDoubleBackslash) == std::string::npos) {
        return path;
    }
    return ReplaceAll(path, kDoubleBackslash, kBackslash);
}

// The text before the first `separator` and the text after it (empty when it does not occur).
std::pair<std::string_view, std::string_view> CutAtFirst(std::string_view text, char separator) {
    const auto at = text.find(separator);
    if (at == std::string_view::npos) {
        return {text, {}};
    }
    return {text.substr(0, at), text.substr(at + 1)};
}

// The piece between the first and the second `separator` (the rest when there is no second one).
std::string_view SecondPiece(std::string_view text, char separator) {
    const auto [first, rest] = CutAtFirst(text, separator);
    (void)first;
    return CutAtFirst(rest, separator).first;
}

// "[drive]" replaced, then the path macros expanded.
std::string ExpandField(const PathMacroTable& macros, std::string_view field) {
    if (field.find(kDriveToken) == std::string_view::npos) {
        return macros.Expand(field);
    }
    return macros.Expand(macros.ReplaceDrive(field));
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string path;
    path.reserve(folder.size() + 1 + name.size());
    return path.append(folder).append("\\").append(name);
}

std::string WithoutLineBreaksAndTabs(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c != '\r' && c != '\n' && c != '\t') {
            out += c;
        }
    }
    return out;
}

} // namespace

std::string PrepareDefinitionPath(const PathMacroTable& macros, std::string_view field) {
    return CollapseBackslashes(ExpandField(macros, field));
}

FileDefinition ParseFileDefinition(std::string_view line, const PathMacroTable& macros) {
    // Up to three fields: the details keep any further "|".
    const auto [nameAndThreat, afterName] = CutAtFirst(line, '|');
    const bool hasFolder = line.find('|') != std::string_view::npos;
    const auto [folderField, details] = CutAtFirst(afterName, '|');

    FileDefinition record;
    record.fileName = Trim(CutAtFirst(nameAndThreat, '=').first);
    record.threat = std::string(SecondPiece(nameAndThreat, '='));
    record.details = std::string(details);
    if (hasFolder) {
        record.folder = PrepareDefinitionPath(macros, folderField);
        record.fullPath = CollapseBackslashes(JoinPath(record.folder, record.fileName));
    } else {
        record.fullPath = record.fileName;
    }
    return record;
}

std::optional<DirectoryDefinition> ParseDirectoryDefinition(std::string_view line,
                                                            const PathMacroTable& macros) {
    if (line.find('|') == std::string_view::npos) {
        return std::nullopt;
    }
    const auto [labelAndThreat, afterLabel] = CutAtFirst(line, '|');
    const auto [folderField, details] = CutAtFirst(afterLabel, '|');
    DirectoryDefinition record;
    record.folder = PrepareDefinitionPath(macros, folderField);
    if (record.folder.empty()) {
        return std::nullopt;
    }
    const auto [label, threat] = CutAtFirst(labelAndThreat, '=');
    record.label = WithoutLineBreaksAndTabs(label);
    record.threat = std::string(threat);
    record.details = std::string(details);
    return record;
}

std::optional<RegistryDefinition> ParseRegistryDefinition(std::string_view line,
                                                          const PathMacroTable& macros) {
    // Split at the last "=": a key path may itself hold "=".
    const auto lastEquals = line.rfind('=');
    if (lastEquals == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string keySpec = ExpandField(macros, line.substr(0, lastEquals));
    const std::string threatField = Trim(line.substr(lastEquals + 1));

    const auto [code, afterCode] = CutAtFirst(keySpec, '^');
    if (Trim(code).empty()) {
        return std::nullopt;
    }
    Hive hive = HiveFromCode(code);
    if (!hive.root) {
        return std::nullopt;
    }
    const auto [keyPath, afterKey] = CutAtFirst(afterCode, '^');
    const auto valueName = CutAtFirst(afterKey, '^').first;

    RegistryDefinition record;
    record.root = *hive.root;
    record.hiveName = std::move(hive.name);
    record.keyPath = std::string(keyPath);
    record.valueName = ReplaceAllIgnoreCase(valueName, kDoubleBackslash, kBackslash);
    const auto [threat, details] = CutAtFirst(threatField, '|');
    record.threat = std::string(threat);
    record.details = std::string(details);
    return record;
}

std::optional<ExeDefinition> ParseExeDefinition(std::string_view line, const PathMacroTable& macros) {
    if (line.find('=') == std::string_view::npos) {
        return std::nullopt;
    }
    const auto [name, afterName] = CutAtFirst(line, '=');
    const auto threatAndFolder = CutAtFirst(afterName, '=').first;
    const auto [threat, folder] = CutAtFirst(threatAndFolder, '|');

    ExeDefinition record;
    record.fileName = std::string(name);
    record.threat = std::string(threat);
    // Without "|" the whole field names the folder.
    const bool hasBar = threatAndFolder.find('|') != std::string_view::npos;
    record.folder = macros.Expand(hasBar ? CutAtFirst(folder, '|').first : threatAndFolder);
    record.fullPath =
        ReplaceAllIgnoreCase(JoinPath(record.folder, record.fileName), kDoubleBackslash, kBackslash);
    return record;
}

BlockedSite ParseBlockedSite(std::string_view line) {
    return {std::string(line)};
}

SafetyRecord ParseSafetyRecord(std::string_view line, const PathMacroTable& macros, std::string& tag) {
    std::string_view namePart = line;
    SafetyRecord record;
    if (line.find('|') != std::string_view::npos) {
        const auto [lineTag, rest] = CutAtFirst(line, '|');
        const auto [name, afterName] = CutAtFirst(rest, '|');
        tag = std::string(lineTag);
        namePart = name;
        record.path = PrepareDefinitionPath(macros, CutAtFirst(afterName, '|').first);
    }
    record.tag = tag;
    record.name = Trim(CutAtFirst(namePart, '=').first);
    return record;
}

std::string SafeEntryOf(const SafetyRecord& record) {
    std::string entry;
    if (record.tag == "SFILE" || record.tag == "SEXE" || record.tag == "SDLL") {
        entry = record.path.empty() ? record.name : record.path;
    } else if (record.tag == "SDIR") {
        entry = record.path;
    } else if (record.tag == "SREG") {
        const auto [code, afterCode] = CutAtFirst(record.path, '^');
        const auto [keyPath, afterKey] = CutAtFirst(afterCode, '^');
        const auto valueName = CutAtFirst(afterKey, '^').first;
        entry = HiveFromCode(code).name + "\\" + std::string(keyPath);
        if (!valueName.empty()) {
            entry += "\\" + std::string(valueName);
        }
    } else {
        return {};
    }
    return ReplaceAll(ReplaceAll(entry, kDoubleBackslash, kBackslash), "//", "/");
}

} // namespace grimsweep
