// Every record parser on any line, with the invariants each record keeps.
#include "common/text.h"
#include "definitions/definition_records.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace grimsweep;
    const auto line = fuzz::AsText(data, size);
    const auto& macros = fuzz::Macros();

    const auto file = ParseFileDefinition(line, macros);
    fuzz::Require(file.fileName == Trim(file.fileName), "file names are trimmed");
    fuzz::Require(file.fullPath.size() <= file.folder.size() + file.fileName.size() + 1,
                  "full path is folder\\name");

    if (const auto folder = ParseDirectoryDefinition(line, macros)) {
        fuzz::Require(!folder->folder.empty(), "a folder record has a folder");
        fuzz::Require(folder->label.find_first_of("\r\n\t") == std::string::npos, "labels have no breaks");
    }
    if (const auto registry = ParseRegistryDefinition(line, macros)) {
        fuzz::Require(!registry->hiveName.empty(), "a registry record has a hive");
        fuzz::Require(registry->threat.empty() || registry->threat.front() != ' ',
                      "the threat field is trimmed");
    }
    if (const auto exe = ParseExeDefinition(line, macros)) {
        fuzz::Require(line.find('=') != std::string_view::npos, "executable records need \"=\"");
    }
    fuzz::Require(ParseBlockedSite(line).site == line, "sites are taken as they stand");

    std::string tag = "SFILE";
    const auto safety = ParseSafetyRecord(line, macros, tag);
    fuzz::Require(safety.tag == tag, "the tag carries over");
    (void)SafeEntryOf(safety);
    return 0;
}
