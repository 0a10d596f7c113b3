// Export tables read from small PE images built here: 32- and 64-bit, forwarded exports, and files that
// lie about their offsets and counts.
#include "platform/pe_exports.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace grimsweep {
namespace {

constexpr std::uint32_t kSectionRva = 0x1000;
constexpr std::uint32_t kSectionFileOffset = 0x200;
constexpr std::uint32_t kPeOffset = 0x80;

void Put16(std::string& bytes, std::size_t at, std::uint32_t value) {
    bytes[at] = static_cast<char>(value & 0xff);
    bytes[at + 1] = static_cast<char>((value >> 8) & 0xff);
}
void Put32(std::string& bytes, std::size_t at, std::uint32_t value) {
    Put16(bytes, at, value & 0xffff);
    Put16(bytes, at + 2, value >> 16);
}

// An image with one section holding the export directory; the offsets of its parts let a test corrupt
// them. Each export is "Name" or, forwarded, "Name=Library.Function".
struct TestImage {
    std::string bytes;
    std::size_t optionalHeader = 0;
    std::size_t exportEntry = 0; // the export entry of the data directories
    std::size_t section = 0;     // the section header
    std::size_t directory = 0;   // the export directory
    std::size_t nameRvas = 0;    // the name pointer array

    std::uint32_t RvaOf(std::size_t fileOffset) const {
        return static_cast<std::uint32_t>(fileOffset - kSectionFileOffset + kSectionRva);
    }
};

TestImage BuildImage(bool pe32Plus, const std::vector<std::string>& exports) {
    TestImage image;
    const std::size_t optionalSize = pe32Plus ? 240 : 224;
    image.optionalHeader = kPeOffset + 24;
    image.exportEntry = image.optionalHeader + (pe32Plus ? 112 : 96);
    image.section = image.optionalHeader + optionalSize;

    // The section: directory, function RVAs, name RVAs, ordinals, then the strings.
    const std::uint32_t count = static_cast<std::uint32_t>(exports.size());
    std::string data(40 + count * 10, '\0');
    const std::size_t functions = 40;
    const std::size_t names = functions + count * 4;
    const std::size_t ordinals = names + count * 4;
    auto addString = [&data](const std::string& text) {
        const auto at = static_cast<std::uint32_t>(data.size());
        data += text;
        data.push_back('\0');
        return kSectionRva + at;
    };
    Put32(data, 12, addString("test.dll"));
    Put32(data, 16, 1);
    Put32(data, 20, count);
    Put32(data, 24, count);
    Put32(data, 28, kSectionRva + static_cast<std::uint32_t>(functions));
    Put32(data, 32, kSectionRva + static_cast<std::uint32_t>(names));
    Put32(data, 36, kSectionRva + static_cast<std::uint32_t>(ordinals));
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::string& entry = exports[i];
        const std::size_t equals = entry.find('=');
        Put32(data, names + i * 4, addString(entry.substr(0, equals)));
        // A forwarder is a string inside the export directory; a plain export points at code elsewhere.
        Put32(data, functions + i * 4,
              equals == std::string::npos ? 0x3000 + i : addString(entry.substr(equals + 1)));
        Put16(data, ordinals + i * 2, i);
    }
    const auto dataSize = static_cast<std::uint32_t>(data.size());

    std::string& b = image.bytes;
    b.assign(kSectionFileOffset, '\0');
    b[0] = 'M';
    b[1] = 'Z';
    Put32(b, 0x3c, kPeOffset);
    std::memcpy(&b[kPeOffset], "PE\0\0", 4);
    Put16(b, kPeOffset + 4, pe32Plus ? 0x8664 : 0x14c);
    Put16(b, kPeOffset + 6, 1);
    Put16(b, kPeOffset + 20, static_cast<std::uint32_t>(optionalSize));
    Put16(b, kPeOffset + 22, 0x2002);
    Put16(b, image.optionalHeader, pe32Plus ? 0x20b : 0x10b);
    Put32(b, image.optionalHeader + 60, kSectionFileOffset);
    Put32(b, image.exportEntry - 4, 16);
    Put32(b, image.exportEntry, kSectionRva);
    Put32(b, image.exportEntry + 4, dataSize);
    std::memcpy(&b[image.section], ".edata", 6);
    Put32(b, image.section + 8, dataSize);
    Put32(b, image.section + 12, kSectionRva);
    Put32(b, image.section + 16, dataSize);
    Put32(b, image.section + 20, kSectionFileOffset);
    b += data;
    image.directory = kSectionFileOffset;
    image.nameRvas = kSectionFileOffset + names;
    return image;
}

const std::vector<std::string> kComServerExports = {"DllCanUnloadNow", "DllGetClassObject",
                                                    "DllRegisterServer=other.DllRegisterServer",
                                                    "DllUnregisterServer"};

TEST(PeExports, FindsNamesInBothImageKindsAndNeverFollowsForwarders) {
    for (bool pe32Plus : {false, true}) {
        SCOPED_TRACE(pe32Plus ? "64-bit" : "32-bit");
        const std::string bytes = BuildImage(pe32Plus, kComServerExports).bytes;
        EXPECT_TRUE(FindPeExport(bytes, "DllUnregisterServer").exportFound);
        EXPECT_TRUE(FindPeExport(bytes, "DllCanUnloadNow").exportFound);
        // Present as a name; the library it forwards to is neither needed nor looked at.
        EXPECT_TRUE(FindPeExport(bytes, "DllRegisterServer").exportFound);
        const PeExportLookup absent = FindPeExport(bytes, "DllInstall");
        EXPECT_TRUE(absent.isImage);
        EXPECT_FALSE(absent.exportFound);
    }
}

TEST(PeExports, NamesMatchWholeAndWithCase) {
    const std::string bytes = BuildImage(false, {"DllUnregisterServerEx", "Short"}).bytes;
    EXPECT_FALSE(FindPeExport(bytes, "DllUnregisterServer").exportFound); // only a longer name is there
    EXPECT_FALSE(FindPeExport(bytes, "ShortName").exportFound);
    EXPECT_FALSE(FindPeExport(bytes, "short").exportFound);
    EXPECT_FALSE(FindPeExport(bytes, "").exportFound);
    EXPECT_FALSE(FindPeExport(bytes, std::string_view("Short\0x", 7)).exportFound);
    EXPECT_TRUE(FindPeExport(bytes, "Short").exportFound);
}

TEST(PeExports, FilesThatAreNotImages) {
    TestImage image = BuildImage(true, kComServerExports);
    std::string wrongMagic = image.bytes;
    Put16(wrongMagic, image.optionalHeader, 0x107);
    std::string wrongSignature = image.bytes;
    wrongSignature[kPeOffset + 1] = 'X';
    std::string headerPastEnd = image.bytes;
    Put32(headerPastEnd, 0x3c, 0xfffffff0u);
    std::string optionalTooShort = image.bytes;
    Put16(optionalTooShort, kPeOffset + 20, 100);
    for (const std::string& bytes :
         {std::string(), std::string("MZ"), std::string("[Settings]\r\nText=MZ\r\n"), wrongMagic,
          wrongSignature, headerPastEnd, optionalTooShort,
          image.bytes.substr(0, image.optionalHeader + 100)}) {
        const PeExportLookup lookup = FindPeExport(bytes, "DllUnregisterServer");
        EXPECT_FALSE(lookup.isImage) << bytes.size();
        EXPECT_FALSE(lookup.exportFound);
    }
}

TEST(PeExports, ImagesWithoutExportTables) {
    TestImage image = BuildImage(false, kComServerExports);
    std::string noEntry = image.bytes;
    Put32(noEntry, image.exportEntry, 0);
    std::string noDirectories = image.bytes;
    Put32(noDirectories, image.exportEntry - 4, 0);
    std::string noNames = image.bytes;
    Put32(noNames, image.directory + 24, 0);
    for (const std::string& bytes : {noEntry, noDirectories, noNames}) {
        const PeExportLookup lookup = FindPeExport(bytes, "DllUnregisterServer");
        EXPECT_TRUE(lookup.isImage);
        EXPECT_FALSE(lookup.exportFound);
    }
}

// Offsets past the end, RVAs outside every section and absurd counts: answered, never read out of bounds
// (the sanitizer build checks the reads).
TEST(PeExports, LyingHeadersAreAnsweredWithoutReadingOutOfBounds) {
    const TestImage image = BuildImage(true, kComServerExports);
    auto corrupt = [&image](std::size_t at, std::uint32_t value) {
        std::string bytes = image.bytes;
        Put32(bytes, at, value);
        return bytes;
    };
    const std::size_t fileSize = image.bytes.size();
    const std::vector<std::string> variants = {
        corrupt(image.exportEntry, 0x9000),                       // directory outside every section
        corrupt(image.exportEntry, 0xfffffff0u),                  // ... and near the top of the address space
        corrupt(image.directory + 24, 0xffffffffu),               // more names than the section holds
        corrupt(image.directory + 24, 70000),                     // more names than any table may hold
        corrupt(image.directory + 32, 0x9000),                    // name pointers outside every section
        corrupt(image.directory + 32, image.RvaOf(fileSize - 2)), // name pointers running off the section
        corrupt(image.nameRvas + 12, 0x7fffffff),                 // one name outside every section
        corrupt(image.nameRvas + 12, image.RvaOf(fileSize - 4)),  // one name cut short by the end of the file
        corrupt(image.section + 20, 0xfffff000u),                 // section data past the end of the file
        corrupt(kPeOffset + 4, 0xffff0000u | 0x8664),             // a count of sections far past the table
    };
    for (std::size_t i = 0; i < variants.size(); ++i) {
        const PeExportLookup lookup = FindPeExport(variants[i], "DllUnregisterServer");
        EXPECT_FALSE(lookup.exportFound) << "variant " << i;
    }
    // The other names of a table with one bad pointer are still found.
    EXPECT_TRUE(FindPeExport(variants[6], "DllCanUnloadNow").exportFound);
}

TEST(PeExports, EveryTruncationOfAnImageIsAnswered) {
    const std::string bytes = BuildImage(false, kComServerExports).bytes;
    const std::size_t lastName = bytes.rfind("DllUnregisterServer");
    for (std::size_t size = 0; size <= bytes.size(); ++size) {
        const std::string cut = bytes.substr(0, size);
        // The name is found exactly when it and its terminator are in the file.
        EXPECT_EQ(FindPeExport(cut, "DllUnregisterServer").exportFound, size > lastName + 19) << size;
    }
}

// A reader that counts what it is asked for, over a file kept in memory.
struct CountingReader {
    const std::string& file;
    int calls = 0;
    std::uint64_t bytesAsked = 0;

    PeByteReader Reader() {
        return [this](std::uint64_t offset, std::size_t length) {
            ++calls;
            bytesAsked += length;
            return offset >= file.size() ? std::string()
                                         : file.substr(static_cast<std::size_t>(offset), length);
        };
    }
};

TEST(PeExports, ReadsFewRangesAndBoundsWhatAHostileTableCosts) {
    const std::string normal = BuildImage(false, kComServerExports).bytes;
    CountingReader counting{normal};
    EXPECT_TRUE(FindPeExport(counting.Reader(), "DllUnregisterServer").exportFound);
    EXPECT_LE(counting.calls, 6);

    // The most names a table may have, pointing by turns at two names 8 MB apart, so that no window of
    // the file serves two names in a row.
    std::vector<std::string> exports(kMaxExportNames, "Name");
    TestImage image = BuildImage(false, exports);
    const std::size_t farName = image.bytes.size() + 8 * 1024 * 1024;
    image.bytes.resize(farName, '\0');
    image.bytes += "Other";
    image.bytes.resize(image.bytes.size() + 64, '\0');
    const auto fileSize = static_cast<std::uint32_t>(image.bytes.size() - kSectionFileOffset);
    Put32(image.bytes, image.section + 8, fileSize);
    Put32(image.bytes, image.section + 16, fileSize);
    for (std::uint32_t i = 1; i < kMaxExportNames; i += 2) {
        Put32(image.bytes, image.nameRvas + i * 4, image.RvaOf(farName));
    }
    CountingReader hostile{image.bytes};
    EXPECT_FALSE(FindPeExport(hostile.Reader(), "Missing").exportFound);
    EXPECT_LE(hostile.bytesAsked, 32u * 1024 * 1024);
    EXPECT_TRUE(FindPeExport(image.bytes, "Other").exportFound);
}

} // namespace
} // namespace grimsweep
