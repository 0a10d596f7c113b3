#include "definitions/definition_check.h"

#include "common/text.h"
#include "definitions/definition_records.h"
#include "definitions/line_code.h"
#include "platform/text_files.h"

namespace grimsweep {

namespace {

constexpr int kRecycleBinCsidl = 10;

// Every special folder is "C:\Folder<csidl>"; the Recycle Bin has no path, as on Windows.
class StandInShell : public IShell {
public:
    std::optional<std::string> SpecialFolderPath(int csidl) override {
        if (csidl == kRecycleBinCsidl) {
            return std::nullopt;
        }
        return "C:\\Folder" + std::to_string(csidl);
    }
    std::optional<std::string> SpecialFolderPathFromIdList(int csidl) override {
        return SpecialFolderPath(csidl);
    }
    bool OpenWithDefaultHandler(const std::string&, const std::string&) override { return false; }
    bool RunCommand(const std::string&) override { return false; }
    bool NotifyIcon(NotifyIconAction, const NotifyIconRequest&) override { return false; }
    bool RunsElevated() override { return false; }
    ElevatedRun RunAsAdministrator(const std::string&, const std::string&,
                                   const std::function<void()>&) override {
        return {};
    }
};

const PathMacroTable& StandInMacros() {
    static const PathMacroTable macros = [] {
        StandInShell shell;
        return PathMacroTable::Capture(shell);
    }();
    return macros;
}

bool IsSafetyTag(std::string_view tag) {
    return tag == "SFILE" || tag == "SEXE" || tag == "SDLL" || tag == "SREG" || tag == "SDIR";
}

std::string FileProblem(std::string_view line) {
    const auto record = ParseFileDefinition(line, StandInMacros());
    if (line.find('=') == std::string_view::npos) {
        return "no \"=\" between file name and threat";
    }
    if (record.fileName.empty()) {
        return "empty file name";
    }
    if (line.find('|') == std::string_view::npos) {
        return "no \"|\" before the folder";
    }
    return record.folder.empty() ? "empty folder" : "";
}

std::string DirectoryProblem(std::string_view line) {
    if (line.find('=') == std::string_view::npos) {
        return "no \"=\" between label and threat";
    }
    if (line.find('|') == std::string_view::npos) {
        return "no \"|\" before the folder";
    }
    // A folder that expands to nothing on this stand-in machine (the Recycle Bin) is skipped by the scan
    // but is a well-formed line.
    const std::string folderField(Split(line, "|").at(1));
    return Trim(folderField).empty() ? "empty folder" : "";
}

std::string RegistryProblem(std::string_view line) {
    if (line.find('=') == std::string_view::npos) {
        return "no \"=\" before the threat";
    }
    const auto record = ParseRegistryDefinition(line, StandInMacros());
    if (!record) {
        return "blank hive code or a code outside 0 to 5";
    }
    if (Split(line.substr(0, line.rfind('=')), "^").size() < 3) {
        return "no \"^\" after the key path";
    }
    return Trim(record->keyPath).empty() ? "empty key path" : "";
}

std::string ExeProblem(std::string_view line) {
    const auto record = ParseExeDefinition(line, StandInMacros());
    if (!record) {
        return "no \"=\" between file name and threat";
    }
    if (record->fileName.empty()) {
        return "empty file name";
    }
    if (Split(line, "=").at(1).find('|') == std::string::npos) {
        return "no \"|\" before the folder";
    }
    return record->folder.empty() ? "empty folder" : "";
}

std::string CookieProblem(std::string_view line) {
    const auto site = ParseBlockedSite(line).site;
    if (site.find('|') != std::string::npos) {
        return "a site must not contain \"|\"";
    }
    return Trim(site).empty() ? "empty site" : "";
}

std::string SafetyProblem(std::string_view line) {
    if (line.find('|') == std::string_view::npos) {
        return ""; // continues the tag of the line before; checked with the file
    }
    std::string tag;
    const auto record = ParseSafetyRecord(line, StandInMacros(), tag);
    if (!IsSafetyTag(record.tag)) {
        return "unknown tag \"" + record.tag + "\"";
    }
    return Trim(SafeEntryOf(record)).empty() ? "no path or name" : "";
}

bool HasControlCharacter(std::string_view line) {
    for (const char c : line) {
        if (static_cast<unsigned char>(c) < 0x20) {
            return true;
        }
    }
    return false;
}

} // namespace

std::string DefinitionLineProblem(DefinitionKind kind, std::string_view plainLine) {
    if (Trim(plainLine).empty()) {
        return "blank line";
    }
    if (HasControlCharacter(plainLine)) {
        return "control character (wrongly encoded?)";
    }
    switch (kind) {
    case DefinitionKind::Files:
        return FileProblem(plainLine);
    case DefinitionKind::Directories:
        return DirectoryProblem(plainLine);
    case DefinitionKind::Registry:
        return RegistryProblem(plainLine);
    case DefinitionKind::Executables:
        return ExeProblem(plainLine);
    case DefinitionKind::Cookies:
        return CookieProblem(plainLine);
    case DefinitionKind::Safety:
        return SafetyProblem(plainLine);
    }
    return "";
}

std::vector<DefinitionProblem> CheckDefinitionFile(DefinitionKind kind, std::string_view storedBytes) {
    std::vector<DefinitionProblem> problems;
    int lineNumber = 0;
    for (const auto& stored : SplitLines(storedBytes)) {
        ++lineNumber;
        const std::string plain = DecodeDefinitionLine(stored);
        std::string problem = DefinitionLineProblem(kind, plain);
        if (problem.empty() && kind == DefinitionKind::Safety && lineNumber == 1 &&
            plain.find('|') == std::string::npos) {
            problem = "the first line has no tag";
        }
        if (!problem.empty()) {
            problems.push_back({lineNumber, std::move(problem)});
        }
    }
    return problems;
}

} // namespace grimsweep
