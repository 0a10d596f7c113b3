// The registry as the program sees it: keys addressed by a predefined root and a path below it.
// Every call opens what it needs and closes it again, so no handle outlives one call.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

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

struct RegistryValue {
    RegistryValueType type = RegistryValueType::None;
    std::string text;         // String and ExpandString: the text without its terminating NUL
    std::uint32_t number = 0; // Dword
    // Every other type: the raw data. For MultiString that is UTF-16LE, NULs included, as the system keeps
    // it; the simulated registry is filled the same way.
    std::string bytes;

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
