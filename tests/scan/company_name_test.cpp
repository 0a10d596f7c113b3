// The company name of a file: the byte rules on hand-made version resources, and the chunked reader
// against the whole-bytes rules over generated files, with keys and values at and across chunk edges.
#include "scan/company_name.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>

#include "platform/sim/sim_file_system.h"
#include "version_resource_bytes.h"

namespace grimsweep {
namespace {

using namespace std::string_literals;
using version_bytes::StringBlock;
using version_bytes::Utf16;
using version_bytes::WideResource;

const std::string kPath = "C:\\Program Files\\Tool\\tool.exe";

std::string WithoutCompanyValue() {
    std::string keyOnly = "\x1c\x00\x00\x00\x01\x00"s + Utf16("CompanyName") + "\0\0"s;
    keyOnly.resize(32, '\0');
    return "StringFileInfo"s + "\x01\0"s + Utf16("StringFileInfo") + keyOnly +
           StringBlock("FileDescription", "Lantern tool");
}

std::string ReadWithChunks(const std::string& bytes, std::size_t chunkSize) {
    sim::SimFileSystem files;
    files.PutFile(kPath, bytes);
    return ReadCompanyName(files, kPath, chunkSize);
}

TEST(CompanyName, WideAndPlainResourcesGiveTheirValue) {
    EXPECT_EQ(CompanyNameOfBytes(WideResource("Lanternfish Software")), "Lanternfish Software");
    EXPECT_EQ(CompanyNameOfBytes("xxStringFileInfo\0..CompanyName\0Acme Ltd\0\0\0FileDescription"s),
              "Acme Ltd");
    // Without any StringFileInfo the plain key is looked for from the start.
    EXPECT_EQ(CompanyNameOfBytes("CompanyName\0Acme\0\0\0"s), "Acme");
    // A plain StringFileInfo and no plain key: the wide key from there on.
    EXPECT_EQ(CompanyNameOfBytes("StringFileInfo\x01\0"s + Utf16("CompanyName").substr(0, 21) +
                                 "\0\0\0\0\0A\0c\0m\0e\0\0\0"s),
              "Acme");
    // The value runs to the end of the file when no three NULs follow it.
    EXPECT_EQ(CompanyNameOfBytes("CompanyName\0Ac\0me"s), "Acme");
    EXPECT_EQ(CompanyNameOfBytes("CompanyName"s), "");
}

TEST(CompanyName, KeysBeforeStringFileInfoDoNotCount) {
    // The wide key only after the wide StringFileInfo: one before it is not the resource's.
    std::string bytes = WideResource("Real");
    const std::string early = StringBlock("CompanyName", "Fake");
    EXPECT_EQ(CompanyNameOfBytes(early + bytes), "Real");
    const auto info = bytes.find(Utf16("StringFileInfo"));
    // Without it, a plain key wins over an earlier wide one.
    EXPECT_EQ(CompanyNameOfBytes(early + bytes.substr(0, info) + "CompanyName\0Plain\0\0\0"s), "Plain");
    EXPECT_EQ(CompanyNameOfBytes(early + bytes.substr(0, info)), "Fake");
    EXPECT_EQ(CompanyNameOfBytes("CompanyName\0Before\0\0\0StringFileInfo.CompanyName\0After\0\0\0"s),
              "After");
    // With the wide StringFileInfo the plain key is never looked at.
    EXPECT_EQ(CompanyNameOfBytes(bytes.substr(0, info + 28) + "CompanyName\0Plain\0\0\0"s), "");
}

TEST(CompanyName, AnEmptyCompanyRunningIntoTheNextKeyStopsAtTheFirstControlCharacter) {
    EXPECT_EQ(CompanyNameOfBytes("CompanyName\0Acme FileDescription\0\0\0"s), "Acme FileDescription");
    EXPECT_EQ(CompanyNameOfBytes("CompanyName\0Acme\x01"s + "FileDescription\0\0\0"), "Acme");
    // Wide: a CompanyName block without a value runs into the next block; its first byte, the key's
    // padding, is a control character, so the answer is empty rather than the description.
    EXPECT_EQ(CompanyNameOfBytes(WithoutCompanyValue()), "");
    EXPECT_EQ(CompanyNameOfBytes(WideResource("")), "");
    // At most 255 characters are looked at.
    const std::string longName(300, 'n');
    EXPECT_EQ(CompanyNameOfBytes("CompanyName\0"s + longName + "FileDescription"), std::string(255, 'n'));
}

TEST(CompanyName, MicrosoftIsRecognisedTrimmedInAnyCase) {
    EXPECT_TRUE(IsMicrosoftCompany("Microsoft Corporation"));
    EXPECT_TRUE(IsMicrosoftCompany("  microsoft CORPORATION "));
    EXPECT_FALSE(IsMicrosoftCompany("Microsoft Corporation Ltd"));
    EXPECT_FALSE(IsMicrosoftCompany("Microsoft"));
    EXPECT_FALSE(IsMicrosoftCompany(""));
    EXPECT_TRUE(IsMicrosoftCompany(ReadWithChunks(WideResource(" Microsoft Corporation"), 7)));
}

TEST(CompanyName, AFileThatCannotBeReadGivesNothing) {
    sim::SimFileSystem files;
    EXPECT_EQ(ReadCompanyName(files, kPath), "");
    files.PutFile(kPath, WideResource("Acme"));
    files.SetLocked(kPath, true);
    EXPECT_EQ(ReadCompanyName(files, kPath), "");
    files.SetLocked(kPath, false);
    files.SetHeldOpenForReading(kPath, true); // a running program's image is still read
    EXPECT_EQ(ReadCompanyName(files, kPath), "Acme");
    // A read that fails, even for a moment, gives nothing rather than a piece of the name.
    files.FailNext(sim::FileOp::Read, kPath, 1);
    EXPECT_EQ(ReadCompanyName(files, kPath), "");
}

// A file without any key is read once through, not once per key.
TEST(CompanyName, AFileWithoutAResourceIsReadOnce) {
    sim::SimFileSystem files;
    files.PutFile(kPath, std::string(10 * 64 - 5, 'x'));
    EXPECT_EQ(ReadCompanyName(files, kPath, 64), "");
    EXPECT_EQ(files.Count(sim::FileOp::Read, kPath), 10);
    // No read asks for more than the largest chunk, whatever the caller gives: the first pass over eight
    // chunks' worth of bytes reads eight times.
    const std::string large = "C:\\large.exe";
    files.PutFile(large, std::string(8 * kCompanyNameChunkSize, 'x') + WideResource("Acme"));
    EXPECT_EQ(ReadCompanyName(files, large, std::numeric_limits<std::size_t>::max()), "Acme");
    EXPECT_GE(files.Count(sim::FileOp::Read, large), 8);
}

// Every shift of a resource against every small chunk size: each key and value edge falls on a chunk
// edge somewhere.
TEST(CompanyName, ChunkedReadingAgreesWithTheWholeBytesAtEveryEdge) {
    const std::vector<std::string> files = {
        WideResource("Lanternfish Software"),
        WideResource(""),
        WithoutCompanyValue(),
        "StringFileInfo..CompanyName\0Acme Ltd\0\0\0FileDescription"s,
        "CompanyName\0Acme FileDescription\0\0\0"s,
        "CompanyName\0" + std::string(300, 'n') + "FileDescription",
        "StringFileInfo\x01\0"s + Utf16("CompanyName").substr(0, 21) + "\0\0\0\0\0A\0c\0m\0e\0\0\0"s,
        "CompanyName\0Before\0\0\0StringFileInfo.CompanyName\0After\0\0\0"s,
    };
    for (const auto& body : files) {
        for (std::size_t shift = 0; shift < 40; ++shift) {
            const std::string bytes = std::string(shift, 'z') + body;
            const std::string expected = CompanyNameOfBytes(bytes);
            for (std::size_t chunk = 1; chunk < 36; ++chunk) {
                ASSERT_EQ(ReadWithChunks(bytes, chunk), expected) << "shift " << shift << " chunk " << chunk;
            }
        }
    }
}

// Random files built from pieces of keys, whole keys in both forms, values, NUL runs and noise.
TEST(CompanyName, ChunkedReadingAgreesWithTheWholeBytesOnGeneratedFiles) {
    const std::vector<std::string> pieces = {
        "StringFileInfo",
        "\x01\0"s + Utf16("StringFileInfo").substr(0, 27),
        "CompanyName",
        "\x01\0"s + Utf16("CompanyName").substr(0, 21),
        "FileDescription",
        "\x01\0"s + Utf16("FileDescription").substr(0, 29),
        "\0\0\0"s,
        "\0\0"s,
        "\0"s,
        "Acme",
        Utf16("Lantern"),
        "\x01",
        "Company",
        "\0N\0a\0m\0e"s,
        "\x1f",
        "String",
    };
    std::mt19937 random(20261208);
    for (int round = 0; round < 3000; ++round) {
        std::string bytes;
        const int count = static_cast<int>(random() % 20);
        for (int i = 0; i < count; ++i) {
            if (random() % 3 == 0) {
                bytes += std::string(random() % 9, static_cast<char>('a' + random() % 3));
            } else {
                bytes += pieces[random() % pieces.size()];
            }
        }
        const std::string expected = CompanyNameOfBytes(bytes);
        const std::size_t chunk = 1 + random() % 40;
        ASSERT_EQ(ReadWithChunks(bytes, chunk), expected) << "round " << round << " chunk " << chunk;
    }
}

} // namespace
} // namespace grimsweep
