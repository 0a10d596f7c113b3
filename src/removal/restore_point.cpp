#include "removal/restore_point.h"

#include "common/utf8.h"

namespace grimsweep {

namespace {

// The text's first `characters` characters.
std::string FirstCharacters(const std::string& text, std::size_t characters) {
    std::size_t pos = 0;
    for (std::size_t count = 0; pos < text.size() && count < characters; ++count) {
        pos += DecodeUtf8At(text, pos).length;
    }
    return text.substr(0, pos);
}

} // namespace

bool SupportsRestorePoints(const OsVersion& version) {
    if (version.platformId == kPlatformWin9x) {
        return version.major == 4 && version.minor == 90;
    }
    if (version.platformId == kPlatformNt) {
        return version.major > 5 || (version.major == 5 && version.minor == 1);
    }
    return false;
}

bool RestorePoint::Begin(const std::string& description, std::uint32_t type) {
    if (open_ != 0) {
        throw RestorePointError();
    }
    const RestorePointResult result =
        service_.Begin(FirstCharacters(description, kRestorePointDescriptionLength), type);
    if (!result.accepted) {
        return false;
    }
    open_ = result.sequenceNumber;
    return true;
}

bool RestorePoint::End() {
    const RestorePointResult result = service_.End(open_);
    open_ = 0;
    return result.accepted;
}

} // namespace grimsweep
