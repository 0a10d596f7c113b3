// Any bytes as a file: the chunked company-name reader answers exactly as the whole-bytes rules, for a
// chunk size taken from the first byte (small sizes put every key and value across chunk edges).
#include "fuzz_support.h"
#include "platform/sim/sim_file_system.h"
#include "scan/company_name.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace grimsweep;
    if (size == 0) {
        return 0;
    }
    const std::size_t chunkSize = 1 + data[0] % 64;
    const std::string bytes(fuzz::AsText(data + 1, size - 1));
    sim::SimFileSystem files;
    const std::string path = "C:\\fuzz\\input.exe";
    files.PutFile(path, bytes);
    const std::string whole = CompanyNameOfBytes(bytes);
    fuzz::Require(ReadCompanyName(files, path, chunkSize) == whole, "chunked company name differs");
    fuzz::Require(ReadCompanyName(files, path) == whole, "one-chunk company name differs");
    return 0;
}
