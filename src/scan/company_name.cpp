#include "scan/company_name.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

#include "common/text.h"

namespace grimsweep {

namespace {

constexpr std::string_view kInfoKey = "StringFileInfo";
constexpr std::string_view kCompanyKey = "CompanyName";
constexpr std::string_view kNeighbourKey = "FileDescription";
constexpr std::string_view kValueEnd{"\0\0\0", 3};
constexpr std::string_view kMicrosoft = "Microsoft Corporation";
// The value follows the wide key after its type word, the key and its terminator; the plain key after
// one NUL.
constexpr std::size_t kWideValueOffset = 26;
constexpr std::size_t kPlainValueOffset = 12;
constexpr std::size_t kFallbackLength = 255;
constexpr std::uint64_t kNotFound = std::numeric_limits<std::uint64_t>::max();

// The key as it stands in a version resource block: the header's type byte 1, then the key in UTF-16LE
// read one byte late (a NUL before each character), without the key's last NUL.
std::string WideKey(std::string_view key) {
    std::string wide(1, '\x01');
    for (const char c : key) {
        wide += '\0';
        wide += c;
    }
    return wide;
}

const std::string& WideInfoKey() {
    static const std::string key = WideKey(kInfoKey);
    return key;
}
const std::string& WideCompanyKey() {
    static const std::string key = WideKey(kCompanyKey);
    return key;
}
const std::string& WideNeighbourKey() {
    static const std::string key = WideKey(kNeighbourKey);
    return key;
}

std::string WithoutNuls(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::copy_if(text.begin(), text.end(), std::back_inserter(out), [](char c) { return c != '\0'; });
    return out;
}

std::string_view UpToControlCharacter(std::string_view text) {
    const auto control =
        std::find_if(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 32; });
    return text.substr(0, static_cast<std::size_t>(control - text.begin()));
}

// The file read chunk by chunk. A search keeps the last bytes of one chunk in front of the next, one
// fewer than its longest needle, so a needle split across two chunks is still seen whole.
class ChunkedFile {
public:
    ChunkedFile(IFileSystem& files, const std::string& path, std::size_t chunkSize)
        : files_(files), path_(path),
          chunkSize_(std::clamp<std::size_t>(chunkSize, 1, kCompanyNameChunkSize)) {}

    bool Failed() const { return failed_; }

    // The first position at or after `from` of each needle, kNotFound for those absent. With
    // stopAtFirst the search ends once the first needle is found; the others are then known only up to
    // the end of that match.
    std::vector<std::uint64_t> FindFirst(const std::vector<std::string_view>& needles, std::uint64_t from,
                                         bool stopAtFirst = false) {
        std::vector<std::uint64_t> found(needles.size(), kNotFound);
        std::size_t keep = 0;
        for (const auto needle : needles) {
            keep = std::max(keep, needle.size() - 1);
        }
        std::size_t missing = needles.size();
        std::string window;
        std::uint64_t windowStart = from;
        std::uint64_t next = from;
        while (missing > 0) {
            const auto chunk = files_.ReadRange(path_, next, chunkSize_);
            if (!chunk) {
                failed_ = true;
                return std::vector<std::uint64_t>(needles.size(), kNotFound);
            }
            window += *chunk;
            for (std::size_t i = 0; i < needles.size(); ++i) {
                if (found[i] != kNotFound) {
                    continue;
                }
                if (const auto at = window.find(needles[i]); at != std::string::npos) {
                    found[i] = windowStart + at;
                    --missing;
                }
            }
            if ((stopAtFirst && found[0] != kNotFound) || chunk->size() < chunkSize_) {
                break;
            }
            next += chunk->size();
            const std::size_t tail = std::min(keep, window.size());
            windowStart += window.size() - tail;
            window.erase(0, window.size() - tail);
        }
        return found;
    }

    // The bytes from `from` up to `to` (or the end of the file), without the NULs when dropNuls is set:
    // a value padded with NULs then holds only its letters.
    std::string Read(std::uint64_t from, std::uint64_t to, bool dropNuls) {
        std::string bytes;
        while (from < to) {
            const auto wanted = static_cast<std::size_t>(std::min<std::uint64_t>(chunkSize_, to - from));
            const auto chunk = files_.ReadRange(path_, from, wanted);
            if (!chunk) {
                failed_ = true;
                return {};
            }
            bytes += dropNuls ? WithoutNuls(*chunk) : *chunk;
            if (chunk->size() < wanted) {
                break;
            }
            from += chunk->size();
        }
        return bytes;
    }

private:
    IFileSystem& files_;
    const std::string& path_;
    std::size_t chunkSize_;
    bool failed_ = false;
};

} // namespace

std::string CompanyNameOfBytes(std::string_view bytes) {
    std::size_t start = std::string_view::npos;
    std::string_view neighbour;
    if (const auto info = bytes.find(WideInfoKey()); info != std::string_view::npos) {
        if (const auto company = bytes.find(WideCompanyKey(), info); company != std::string_view::npos) {
            start = company + kWideValueOffset;
            neighbour = WideNeighbourKey();
        }
    } else {
        auto from = bytes.find(kInfoKey);
        from = from == std::string_view::npos ? 0 : from;
        if (const auto company = bytes.find(kCompanyKey, from); company != std::string_view::npos) {
            start = company + kPlainValueOffset;
            neighbour = kNeighbourKey;
        } else if (const auto wide = bytes.find(WideCompanyKey(), from); wide != std::string_view::npos) {
            start = wide + kWideValueOffset;
            neighbour = WideNeighbourKey();
        }
    }
    if (start == std::string_view::npos) {
        return {};
    }
    const auto rest = bytes.substr(std::min(start, bytes.size()));
    auto value = rest.substr(0, rest.find(kValueEnd));
    if (value.find(neighbour) != std::string_view::npos) {
        value = UpToControlCharacter(rest.substr(0, kFallbackLength));
    }
    return WithoutNuls(value);
}

std::string ReadCompanyName(IFileSystem& files, const std::string& path, std::size_t chunkSize) {
    ChunkedFile file(files, path, chunkSize);
    const std::vector<std::string_view> keys = {WideInfoKey(), kInfoKey, kCompanyKey, WideCompanyKey()};
    enum : std::size_t { kWideInfo, kPlainInfo, kPlainCompany, kWideCompany };
    // One pass finds where each key first occurs; a key is looked for again only when it first occurs
    // before the place the search has to start from.
    const auto first = file.FindFirst(keys, 0);
    const auto findFrom = [&](std::size_t key, std::uint64_t from) {
        return first[key] == kNotFound || first[key] >= from ? first[key]
                                                             : file.FindFirst({keys[key]}, from)[0];
    };

    std::uint64_t start = kNotFound;
    std::string_view neighbour;
    if (first[kWideInfo] != kNotFound) {
        if (const auto company = findFrom(kWideCompany, first[kWideInfo]); company != kNotFound) {
            start = company + kWideValueOffset;
            neighbour = WideNeighbourKey();
        }
    } else {
        const std::uint64_t from = first[kPlainInfo] == kNotFound ? 0 : first[kPlainInfo];
        if (const auto company = findFrom(kPlainCompany, from); company != kNotFound) {
            start = company + kPlainValueOffset;
            neighbour = kNeighbourKey;
        } else if (const auto wide = findFrom(kWideCompany, from); wide != kNotFound) {
            start = wide + kWideValueOffset;
            neighbour = WideNeighbourKey();
        }
    }
    if (start == kNotFound || file.Failed()) {
        return {};
    }

    // The value ends at the first three NULs; the neighbour key counts only when it lies wholly before.
    const auto ends = file.FindFirst({kValueEnd, neighbour}, start, true);
    const std::uint64_t end = ends[0];
    const bool runsIntoNeighbour = ends[1] != kNotFound && ends[1] + neighbour.size() <= end;
    const std::string value =
        runsIntoNeighbour
            ? std::string(UpToControlCharacter(file.Read(start, start + kFallbackLength, false)))
            : file.Read(start, end, true);
    return file.Failed() ? std::string() : WithoutNuls(value);
}

bool IsMicrosoftCompany(std::string_view companyName) {
    return EqualsIgnoreCase(Trim(companyName), kMicrosoft);
}

} // namespace grimsweep
