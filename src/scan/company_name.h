// The company name of a program file, read from the bytes of its version resource without loading it:
// the process scan, the file scan and the memory shield all ask it of files that may be running, damaged
// or not programs at all.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace grimsweep {

inline constexpr std::size_t kCompanyNameChunkSize = 1 << 20;

// The rules on the whole file's bytes. The CompanyName key is looked for in its wide form (the version
// resource's type 1 block header and the key in UTF-16LE) after the wide "StringFileInfo"; without that,
// in plain text after the plain "StringFileInfo" (or from the start), and failing that in wide form from
// there. The value runs to the first three NULs in a row; when it runs into the next key (an empty
// company entry) it is instead cut at the first control character, at most 255 bytes on. NULs are
// removed. Empty when no CompanyName key is found.
std::string CompanyNameOfBytes(std::string_view bytes);

// The same answer as CompanyNameOfBytes of the whole file, reading it `chunkSize` bytes at a time (at most
// kCompanyNameChunkSize) so that a large executable is never held in memory (only the answer itself can
// grow with the file). Empty when the file cannot be read.
std::string ReadCompanyName(IFileSystem& files, const std::string& path,
                            std::size_t chunkSize = kCompanyNameChunkSize);

// A Microsoft-made file is never reported: the name, trimmed, is "Microsoft Corporation" in any case.
bool IsMicrosoftCompany(std::string_view companyName);

} // namespace grimsweep
