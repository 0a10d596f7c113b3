// Backups of registry entries as .reg files that regedit imports, and the import that puts such a file
// back.
//
// Value types travel as IRegistry carries them: String and ExpandString as UTF-8 text, Dword as a number,
// every other type as raw bytes, MultiString among them as the UTF-16LE data the system keeps.
//
// An entry whose names and texts all survive the system code page goes out as "REGEDIT4": 8-bit text in
// that code page, CR LF line ends; strings "quoted" (hex(1) when they hold a line break), numbers dword:,
// the text of expandable and multi-strings hex(2) and hex(7) code-page bytes with NUL terminators. Any
// other entry goes out as "Windows Registry Editor Version 5.00": the same lines as UTF-16LE text after
// the byte-order mark FF FE, with expandable strings hex(2) as UTF-16LE plus terminator, multi-strings
// hex(7) as the raw data, and strings holding a line break or NUL hex(1) as UTF-16LE plus terminator.
// String data that no text gives back (RegistryValue::rawString: a NUL inside, no terminator, an odd
// length, ill-formed UTF-16) always goes out as version 5.00, hex(1) or hex(2) with exactly those bytes,
// and the import writes them back unchanged.
#pragma once

#include <optional>
#include <string>

#include "definitions/hive_codes.h"
#include "platform/registry.h"
#include "platform/system.h"

namespace grimsweep {

// With a value name ("" is the key's default value): that value under its key's header. Without: the key
// with all its values and sub-keys, recursively. Nothing when the entry is missing or cannot be read, or
// when a name cannot be written on a .reg line: a name holding a NUL, a CR or LF, or text that is not
// well-formed UTF-8 (no regedit format can carry these; the system's own functions cannot make the first
// and last). A backup that cannot restore the entry exactly is no backup.
std::optional<std::string> ExportRegistryEntry(IRegistry& registry, ISystem& system, RegistryRoot root,
                                               const std::string& keyPath,
                                               const std::optional<std::string>& valueName);

// Where an import may write: this key and the keys below it. Paths compare without regard to case, with
// repeated and outer backslashes ignored; "Software\Gloom" does not cover "Software\GloomX".
struct RegistryImportScope {
    RegistryRoot root = RegistryRoot::CurrentUser;
    std::string keyPath;
};

struct RegistryImportResult {
    bool formatKnown = false;  // the text starts with the REGEDIT4 or the version 5.00 header line
    bool outsideScope = false; // a key header lies outside the scope, so nothing was imported
    int keysCreated = 0;
    int valuesSet = 0;
    int linesSkipped = 0; // lines that could not be read, or whose key or value could not be written

    bool Ok() const { return formatKnown && !outsideScope && linesSkipped == 0; }
};

// Creates each key of the text and sets each value with its type and data. Takes 8-bit text in the code
// page, or UTF-16LE after FF FE; CR LF or LF line ends; hex data continued over several lines. Lines it
// cannot read or apply are skipped and counted; deletes ("[-key]", "name"=-) are not carried out and count
// as skipped. A text without a known header imports nothing. With a scope, a text with any key header
// (a delete or one that cannot be read included) that is not at or below the scope's key imports nothing.
RegistryImportResult ImportRegistryText(IRegistry& registry, ISystem& system, const std::string& bytes,
                                        const std::optional<RegistryImportScope>& scope = std::nullopt);

} // namespace grimsweep
