// Text values of the registry as the shields read and write them: a string, an expandable string or a
// number read as text, and a string or number written under HKEY_CURRENT_USER.
#pragma once

#include <string>

#include "platform/registry.h"

namespace grimsweep {

enum class RegistryTextRead {
    Read,       // `text` holds the value (or is left as it was for a value of another type)
    Missing,    // the key or the value is not there: `text` is empty
    Unreadable, // it may be there but cannot be opened or read: `text` is empty
};

// Reads one value of the key opened with full access (0x3F), whatever its length. A string or an
// expandable string (not expanded) becomes `text`, a number its decimal text; a value of another type
// leaves `text` as it was.
RegistryTextRead ReadRegistryString(IRegistry& registry, RegistryRoot root, const std::string& keyPath,
                                    const std::string& valueName, std::string& text);

// Writes a string (stored with its terminating NUL) or a number (`value` as decimal text) to a value of a
// key under HKEY_CURRENT_USER opened with full access, creating a missing key. A key that cannot be
// opened is left alone; the result is not reported, the next read shows whether the value took.
void WriteRegistryValue(IRegistry& registry, const std::string& keyPath, const std::string& valueName,
                        const std::string& value, RegistryValueType type);

} // namespace grimsweep
