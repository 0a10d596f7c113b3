// Any bytes as a library file: the export lookup answers without reading out of bounds, asks the reader
// for a bounded amount, and never loses a name found when more bytes follow the file.
#include "fuzz_support.h"
#include "platform/pe_exports.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace grimsweep;
    if (size == 0) {
        return 0;
    }
    static const char* const kNames[] = {"DllUnregisterServer", "DllRegisterServer", "A",
                                         "DllGetClassObject"};
    const char* name = kNames[data[0] % 4];
    const std::string bytes(fuzz::AsText(data + 1, size - 1));

    std::uint64_t asked = 0;
    const PeExportLookup lookup = FindPeExport(
        [&](std::uint64_t offset, std::size_t length) {
            asked += length;
            return offset >= bytes.size() ? std::string()
                                          : bytes.substr(static_cast<std::size_t>(offset), length);
        },
        name);
    fuzz::Require(asked <= 17u * 1024 * 1024, "the lookup asked for more than its budget");
    fuzz::Require(!lookup.exportFound || lookup.isImage, "an export found in a file that is no image");
    const PeExportLookup whole = FindPeExport(bytes, name);
    fuzz::Require(whole.isImage == lookup.isImage && whole.exportFound == lookup.exportFound,
                  "the two ways of reading answer differently");
    if (lookup.exportFound) {
        fuzz::Require(FindPeExport(bytes + std::string(4096, '\xff'), name).exportFound,
                      "bytes after the end of the file hid a name");
    }
    return 0;
}
