// Backups of registry entries as .reg files that regedit imports ("REGEDIT4": 8-bit text in the system
// code page, CR LF line ends), and the import that puts such a file back.
//
// Value types travel as IRegistry carries them: String and ExpandString as UTF-8 text, Dword as a number,
// every other type as raw bytes, MultiString among them as the UTF-16LE data the system keeps. In the file,
// strings are "quoted" (hex(1) when they hold a line break), numbers dword:, and the text of expandable
// and multi-strings hex(2) and hex(7) code-page bytes with NUL terminators, as regedit writes them in this
// format.
#pragma once

#include <optional>
#include <string>

#include "definitions/hive_codes.h"
#include "platform/registry.h"
#include "platform/system.h"

namespace grimsweep {

// With a value name ("" is the key's default value): that value under its key's header. Without: the key
// with all its values and sub-keys, recursively. Nothing when the entry is missing or cannot be read, or
// when a name or text would not come back the same through the code page: a backup that cannot restore
// the entry exactly is no backup.
std::optional<std::string> ExportRegistryEntry(IRegistry& registry, ISystem& system, RegistryRoot root,
                                               const std::string& keyPath,
                                               const std::optional<std::string>& valueName);

struct RegistryImportResult {
    bool formatKnown = false; // the text starts with the REGEDIT4 line
    int keysCreated = 0;
    int valuesSet = 0;
    int linesSkipped = 0; // lines that could not be read, or whose key or value could not be written

    bool Ok() const { return formatKnown && linesSkipped == 0; }
};

// Creates each key of the text and sets each value with its type and data. Takes CR LF or LF line ends and
// hex data continued over several lines. Lines it cannot read or apply are skipped and counted; deletes
// ("[-key]", "name"=-) are not carried out and count as skipped. A text that does not start with REGEDIT4
// imports nothing.
RegistryImportResult ImportRegistryText(IRegistry& registry, ISystem& system, const std::string& bytes);

} // namespace grimsweep
