// Looks a name up in the export table of a PE image (32- or 64-bit) straight from the file's bytes, so
// that a suspected library is never mapped and none of its code runs. Every offset and count read from the
// file is checked against what could be read; loops are capped, so a hostile file answers quickly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace grimsweep {

struct PeExportLookup {
    bool isImage = false;     // MZ header, PE signature and a PE32 or PE32+ optional header
    bool exportFound = false; // the name is in the export name table (a forwarded export included)
};

// Returns up to `length` bytes of the file from `offset`: fewer at the end of the file, none past it or
// when reading fails.
using PeByteReader = std::function<std::string(std::uint64_t offset, std::size_t length)>;

// Most names an export table is searched for; a table claiming more is searched up to this many.
inline constexpr std::uint32_t kMaxExportNames = 65536;

PeExportLookup FindPeExport(const PeByteReader& read, std::string_view exportName);
PeExportLookup FindPeExport(std::string_view fileBytes, std::string_view exportName);

} // namespace grimsweep
