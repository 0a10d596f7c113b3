#include "platform/pe_exports.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

namespace grimsweep {

namespace {

// Small reads go through one cached window, so a table of names lying together costs a read or two.
constexpr std::size_t kWindowSize = 16 * 1024;
// Whatever the file claims, one lookup asks for no more than this many bytes in all: names scattered
// across the file to defeat the window end the search early instead of reading the file many times over.
constexpr std::uint64_t kReadBudget = 16ull * 1024 * 1024;
// The loader takes no more sections than this; the section table is not read past it.
constexpr std::uint32_t kMaxSections = 1024;

constexpr std::uint16_t kMagicPe32 = 0x10b;
constexpr std::uint16_t kMagicPe32Plus = 0x20b;
constexpr std::size_t kCoffHeaderSize = 20;
constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::size_t kExportDirectorySize = 40;

std::uint32_t Le(std::string_view bytes, std::size_t at, std::size_t width) {
    std::uint32_t value = 0;
    for (std::size_t i = width; i-- > 0;) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}
std::uint16_t Le16(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint16_t>(Le(bytes, at, 2));
}
std::uint32_t Le32(std::string_view bytes, std::size_t at) {
    return Le(bytes, at, 4);
}

class WindowedReader {
public:
    explicit WindowedReader(const PeByteReader& read) : read_(read) {}

    // Exactly `length` bytes from `offset`, or nothing when the file ends first (or the budget is spent).
    // The view lasts until the next call.
    std::optional<std::string_view> Bytes(std::uint64_t offset, std::size_t length) {
        if (length > kWindowSize) {
            large_ = Fetch(offset, length);
            return Exact(large_, 0, length);
        }
        if (!window_ || offset < windowStart_ || offset - windowStart_ + length > window_->size()) {
            window_ = Fetch(offset, kWindowSize);
            windowStart_ = offset;
        }
        return Exact(*window_, offset - windowStart_, length);
    }

private:
    std::string Fetch(std::uint64_t offset, std::size_t length) {
        if (length > kReadBudget - spent_) {
            spent_ = kReadBudget;
            return {};
        }
        spent_ += length;
        std::string bytes = read_(offset, length);
        if (bytes.size() > length) {
            bytes.resize(length);
        }
        return bytes;
    }
    static std::optional<std::string_view> Exact(const std::string& bytes, std::uint64_t at,
                                                 std::size_t length) {
        if (at > bytes.size() || bytes.size() - at < length) {
            return std::nullopt;
        }
        return std::string_view(bytes).substr(static_cast<std::size_t>(at), length);
    }

    const PeByteReader& read_;
    std::optional<std::string> window_;
    std::uint64_t windowStart_ = 0;
    std::string large_;
    std::uint64_t spent_ = 0;
};

struct Section {
    std::uint32_t virtualAddress = 0;
    std::uint32_t fileBackedSize = 0; // the part of the section that comes from the file
    std::uint32_t rawOffset = 0;
};

class ImageLayout {
public:
    ImageLayout(std::uint32_t headersSize, std::vector<Section> sections)
        : headersSize_(headersSize), sections_(std::move(sections)) {}

    // The file offset of `length` bytes at the relative virtual address, when they all come from the file.
    std::optional<std::uint64_t> OffsetOf(std::uint32_t rva, std::uint64_t length) const {
        const std::uint64_t end = std::uint64_t{rva} + length;
        if (end <= headersSize_) {
            return rva;
        }
        for (const Section& section : sections_) {
            if (rva >= section.virtualAddress &&
                end <= std::uint64_t{section.virtualAddress} + section.fileBackedSize) {
                return std::uint64_t{section.rawOffset} + (rva - section.virtualAddress);
            }
        }
        return std::nullopt;
    }

private:
    std::uint32_t headersSize_;
    std::vector<Section> sections_;
};

bool NameTableHolds(WindowedReader& reader, const ImageLayout& layout, std::uint32_t exportRva,
                    std::string_view exportName) {
    const auto directoryOffset = layout.OffsetOf(exportRva, kExportDirectorySize);
    if (!directoryOffset) {
        return false;
    }
    const auto directory = reader.Bytes(*directoryOffset, kExportDirectorySize);
    if (!directory) {
        return false;
    }
    const std::uint32_t nameCount = std::min(Le32(*directory, 24), kMaxExportNames);
    const std::uint32_t namesRva = Le32(*directory, 32);
    const auto namesOffset = layout.OffsetOf(namesRva, std::uint64_t{nameCount} * 4);
    if (nameCount == 0 || !namesOffset) {
        return false;
    }
    const auto names = reader.Bytes(*namesOffset, std::size_t{nameCount} * 4);
    if (!names) {
        return false;
    }
    // Copied: reading a name moves the reader's window.
    const std::string nameRvas(*names);
    // The name and its terminator, compared exactly as the loader compares export names.
    std::string wanted(exportName);
    wanted.push_back('\0');
    for (std::uint32_t i = 0; i < nameCount; ++i) {
        const auto nameOffset = layout.OffsetOf(Le32(nameRvas, std::size_t{i} * 4), wanted.size());
        if (!nameOffset) {
            continue;
        }
        const auto name = reader.Bytes(*nameOffset, wanted.size());
        if (name && *name == wanted) {
            return true;
        }
    }
    return false;
}

} // namespace

PeExportLookup FindPeExport(const PeByteReader& read, std::string_view exportName) {
    PeExportLookup lookup;
    if (exportName.empty() || exportName.find('\0') != std::string_view::npos) {
        exportName = {};
    }
    WindowedReader reader(read);
    const auto dos = reader.Bytes(0, 64);
    if (!dos || dos->substr(0, 2) != "MZ") {
        return lookup;
    }
    const std::uint32_t peOffset = Le32(*dos, 0x3c);
    const auto fileHeader = reader.Bytes(peOffset, 4 + kCoffHeaderSize);
    if (!fileHeader || fileHeader->substr(0, 4) != std::string_view("PE\0\0", 4)) {
        return lookup;
    }
    const std::uint32_t sectionCount = std::min<std::uint32_t>(Le16(*fileHeader, 6), kMaxSections);
    const std::uint16_t optionalSize = Le16(*fileHeader, 20);
    const std::uint64_t optionalOffset = std::uint64_t{peOffset} + 4 + kCoffHeaderSize;

    // The fixed fields up to the data directories, then the export directory's entry when there is one.
    const auto magicBytes = reader.Bytes(optionalOffset, 2);
    if (!magicBytes) {
        return lookup;
    }
    const std::uint16_t magic = Le16(*magicBytes, 0);
    if (magic != kMagicPe32 && magic != kMagicPe32Plus) {
        return lookup;
    }
    const std::size_t directoryCountAt = magic == kMagicPe32 ? 92 : 108;
    const std::size_t directoriesAt = directoryCountAt + 4;
    if (optionalSize < directoriesAt) {
        return lookup;
    }
    const auto optional =
        reader.Bytes(optionalOffset, std::min<std::size_t>(optionalSize, directoriesAt + 8));
    if (!optional) {
        return lookup;
    }
    lookup.isImage = true;
    if (exportName.empty() || Le32(*optional, directoryCountAt) == 0 ||
        optional->size() < directoriesAt + 8) {
        return lookup;
    }
    const std::uint32_t headersSize = Le32(*optional, 60);
    const std::uint32_t exportRva = Le32(*optional, directoriesAt);
    if (exportRva == 0) {
        return lookup;
    }

    const auto sectionTable =
        reader.Bytes(optionalOffset + optionalSize, std::size_t{sectionCount} * kSectionHeaderSize);
    if (!sectionTable) {
        return lookup;
    }
    std::vector<Section> sections;
    sections.reserve(sectionCount);
    for (std::uint32_t i = 0; i < sectionCount; ++i) {
        const std::size_t at = std::size_t{i} * kSectionHeaderSize;
        const std::uint32_t virtualSize = Le32(*sectionTable, at + 8);
        const std::uint32_t rawSize = Le32(*sectionTable, at + 16);
        Section section;
        section.virtualAddress = Le32(*sectionTable, at + 12);
        section.fileBackedSize = virtualSize == 0 ? rawSize : std::min(virtualSize, rawSize);
        section.rawOffset = Le32(*sectionTable, at + 20);
        sections.push_back(section);
    }
    const ImageLayout layout(headersSize, std::move(sections));
    lookup.exportFound = NameTableHolds(reader, layout, exportRva, exportName);
    return lookup;
}

PeExportLookup FindPeExport(std::string_view fileBytes, std::string_view exportName) {
    return FindPeExport(
        [fileBytes](std::uint64_t offset, std::size_t length) {
            if (offset >= fileBytes.size()) {
                return std::string();
            }
            return std::string(fileBytes.substr(static_cast<std::size_t>(offset), length));
        },
        exportName);
}

} // namespace grimsweep
