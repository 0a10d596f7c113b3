// The registry as the program sees it: keys addressed by a predefined root and a path below it.
// Every call opens what it needs and closes it again, so no handle outlives one call.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/utf8.h"

namespace grimsweep {

// The predefined root keys, with the values their handles have as signed 32-bit numbers.
enum class RegistryRoot : std::int32_t {
    ClassesRoot = -2147483647 - 1,
    CurrentUser = -2147483647,
    LocalMachine = -2147483646,
    Users = -2147483645,
    PerformanceData = -2147483644,
    CurrentConfig = -2147483643,
    DynData = -2147483642,
};

// Status codes are the system's error numbers.
using RegistryStatus = long;
inline constexpr RegistryStatus kRegistryOk = 0;
inline constexpr RegistryStatus kRegistryNotFound = 2;
inline constexpr RegistryStatus kRegistryAccessDenied = 5;
inline constexpr RegistryStatus kRegistryFailed = 1;

// Access rights as the system numbers them.
inline constexpr std::uint32_t kKeyQueryValue = 0x0001;
inline constexpr std::uint32_t kKeySetValue = 0x0002;
inline constexpr std::uint32_t kKeyCreateSubKey = 0x0004;
inline constexpr std::uint32_t kKeyEnumerateSubKeys = 0x0008;
inline constexpr std::uint32_t kKeyRead = 0x20019;
// What the program asks for when it wants "full access" to a key: query, set, create, enumerate,
// notify and create link.
inline constexpr std::uint32_t kKeyFullAccess = 0x3F;

enum class RegistryValueType : std::uint32_t {
    None = 0,
    String = 1,
    ExpandString = 2,
    Binary = 3,
    Dword = 4,
    MultiString = 7,
};

// One value as QueryValue reads it and SetValue writes it.
//
// String and ExpandString: `text` is the data up to its first NUL, as UTF-8 (a surrogate without its
// partner reads as U+FFFD). Most data is exactly that text in UTF-16LE with one terminating NUL; when it
// is not (a NUL inside, no terminator, an odd length, ill-formed UTF-16), QueryValue also sets `rawString`
// and puts the data itself in `bytes`, so that a backup can give the registry back what it held.
// SetValue with `rawString` writes `bytes` unchanged; without, it writes the text in UTF-16LE, NULs
// inside it included, and one terminating NUL. The simulated registry reads and writes by the same rule.
struct RegistryValue {
    RegistryValueType type = RegistryValueType::None;
    std::string text;         // String and ExpandString
    std::uint32_t number = 0; // Dword
    // Every other type: the raw data. For MultiString that is UTF-16LE, NULs included, as the system keeps
    // it; the simulated registry is filled the same way. String and ExpandString: see rawString.
    std::string bytes;
    bool rawString = false;

    static RegistryValue String(std::string value) {
        RegistryValue v;
        v.type = RegistryValueType::String;
        v.text = std::move(value);
        return v;
    }
    static RegistryValue Dword(std::uint32_t value) {
        RegistryValue v;
        v.type = RegistryValueType::Dword;
        v.number = value;
        return v;
    }
};

// A String or ExpandString value as QueryValue gives it for `data`, the bytes the registry holds.
inline RegistryValue RegistryStringFromData(RegistryValueType type, std::string_view data) {
    RegistryValue value;
    value.type = type;
    const std::size_t units = data.size() / 2;
    const auto unitAt = [&](std::size_t i) {
        return static_cast<char32_t>(static_cast<unsigned char>(data[2 * i]) |
                                     (static_cast<unsigned char>(data[2 * i + 1]) << 8));
    };
    bool wellFormed = true;
    std::size_t i = 0;
    for (; i < units && unitAt(i) != 0; ++i) {
        char32_t unit = unitAt(i);
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units && unitAt(i + 1) >= 0xDC00 &&
            unitAt(i + 1) <= 0xDFFF) {
            unit = 0x10000 + ((unit - 0xD800) << 10) + (unitAt(++i) - 0xDC00);
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            unit = 0xFFFD;
            wellFormed = false;
        }
        AppendUtf8(value.text, unit);
    }
    // The text gives the data back only when the first NUL is the last unit and nothing was replaced.
    if (!wellFormed || data.size() % 2 != 0 || i + 1 != units) {
        value.rawString = true;
        value.bytes = data;
    }
    return value;
}

class IRegistry {
public:
    virtual ~IRegistry() = default;

    // Opens the key with the given access and closes it again: tells whether that open succeeds.
    virtual RegistryStatus OpenKey(RegistryRoot root, const std::string& path, std::uint32_t access) = 0;
    // Creates the key and every missing key above it (or opens it when it exists), with full access.
    virtual RegistryStatus CreateKey(RegistryRoot root, const std::string& path) = 0;
    // Opens the key with `access` and reads one value ("" names the key's default value).
    virtual RegistryStatus QueryValue(RegistryRoot root, const std::string& path, const std::string& name,
                                      std::uint32_t access, RegistryValue& out) = 0;
    // Opens the existing key with set-value access and stores one value.
    virtual RegistryStatus SetValue(RegistryRoot root, const std::string& path, const std::string& name,
                                    const RegistryValue& value) = 0;
    virtual RegistryStatus DeleteValue(RegistryRoot root, const std::string& path,
                                       const std::string& name) = 0;
    // Deletes the key with all its sub-keys and values.
    virtual RegistryStatus DeleteKeyTree(RegistryRoot root, const std::string& path) = 0;
    virtual RegistryStatus ListSubKeys(RegistryRoot root, const std::string& path,
                                       std::vector<std::string>& names) = 0;
    virtual RegistryStatus ListValueNames(RegistryRoot root, const std::string& path,
                                          std::vector<std::string>& names) = 0;
};

} // namespace grimsweep
