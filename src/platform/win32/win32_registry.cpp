#include "platform/win32/win32_registry.h"

#include "platform/win32/windows_api.h"

#include <shlwapi.h>

#include <cstring>
#include <vector>

#include "platform/win32/wide_text.h"

namespace grimsweep::win32 {

namespace {

HKEY RootHandle(RegistryRoot root) {
    // The predefined handles are these 32-bit values, sign-extended.
    return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(root)));
}

// An open key that closes itself.
class OpenedKey {
public:
    OpenedKey(RegistryRoot root, const std::string& path, REGSAM access) {
        status_ = RegOpenKeyExW(RootHandle(root), Widen(path).c_str(), 0, access, &key_);
    }
    ~OpenedKey() {
        if (status_ == ERROR_SUCCESS) {
            RegCloseKey(key_);
        }
    }
    OpenedKey(const OpenedKey&) = delete;
    OpenedKey& operator=(const OpenedKey&) = delete;

    LONG Status() const { return status_; }
    HKEY Handle() const { return key_; }

private:
    HKEY key_ = nullptr;
    LONG status_ = ERROR_INVALID_HANDLE;
};

// Stores `data` exactly. RegSetValueExW adds a NUL unit to string data whose last unit is not NUL when the
// unit after the data is NUL (taking it for a forgotten terminator), so the data goes from a copy followed
// by a unit that is not.
LONG SetRawValue(HKEY key, const std::wstring& name, DWORD type, const std::string& data) {
    const std::string padded = data + "\xFF\xFF";
    return RegSetValueExW(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(padded.data()),
                          static_cast<DWORD>(data.size()));
}

} // namespace

RegistryStatus Win32Registry::OpenKey(RegistryRoot root, const std::string& path, std::uint32_t access) {
    return OpenedKey(root, path, access).Status();
}

RegistryStatus Win32Registry::CreateKey(RegistryRoot root, const std::string& path) {
    HKEY key = nullptr;
    const LONG status = RegCreateKeyExW(RootHandle(root), Widen(path).c_str(), 0, nullptr,
                                        REG_OPTION_NON_VOLATILE, kKeyFullAccess, nullptr, &key, nullptr);
    if (status == ERROR_SUCCESS) {
        RegCloseKey(key);
    }
    return status;
}

RegistryStatus Win32Registry::QueryValue(RegistryRoot root, const std::string& path, const std::string& name,
                                         std::uint32_t access, RegistryValue& out) {
    OpenedKey key(root, path, access);
    if (key.Status() != ERROR_SUCCESS) {
        return key.Status();
    }
    const std::wstring wideName = Widen(name);
    DWORD type = 0;
    DWORD size = 0;
    LONG status = RegQueryValueExW(key.Handle(), wideName.c_str(), nullptr, &type, nullptr, &size);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    std::vector<BYTE> data(size + sizeof(wchar_t));
    status = RegQueryValueExW(key.Handle(), wideName.c_str(), nullptr, &type, data.data(), &size);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    data.resize(size);
    out = RegistryValue();
    out.type = static_cast<RegistryValueType>(type);
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        out = RegistryStringFromData(out.type,
                                     std::string_view(reinterpret_cast<const char*>(data.data()), size));
    } else if (type == REG_DWORD && size == sizeof(DWORD)) {
        std::memcpy(&out.number, data.data(), sizeof(DWORD));
    } else {
        out.bytes.assign(data.begin(), data.end());
    }
    return ERROR_SUCCESS;
}

RegistryStatus Win32Registry::SetValue(RegistryRoot root, const std::string& path, const std::string& name,
                                       const RegistryValue& value) {
    OpenedKey key(root, path, KEY_SET_VALUE);
    if (key.Status() != ERROR_SUCCESS) {
        return key.Status();
    }
    const std::wstring wideName = Widen(name);
    const auto type = static_cast<DWORD>(value.type);
    const bool isString =
        value.type == RegistryValueType::String || value.type == RegistryValueType::ExpandString;
    if (isString && !value.rawString) {
        const std::wstring text = Widen(value.text);
        // Stored with its terminating NUL, so that every reader sees where the text ends.
        return RegSetValueExW(key.Handle(), wideName.c_str(), 0, type,
                              reinterpret_cast<const BYTE*>(text.c_str()),
                              static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }
    // A Dword of another size than four bytes is read as bytes, and written back the same way.
    if (value.type == RegistryValueType::Dword && value.bytes.empty()) {
        const DWORD number = value.number;
        return RegSetValueExW(key.Handle(), wideName.c_str(), 0, REG_DWORD,
                              reinterpret_cast<const BYTE*>(&number), sizeof number);
    }
    return SetRawValue(key.Handle(), wideName, type, value.bytes);
}

RegistryStatus Win32Registry::DeleteValue(RegistryRoot root, const std::string& path,
                                          const std::string& name) {
    OpenedKey key(root, path, KEY_SET_VALUE);
    if (key.Status() != ERROR_SUCCESS) {
        return key.Status();
    }
    return RegDeleteValueW(key.Handle(), Widen(name).c_str());
}

RegistryStatus Win32Registry::DeleteKeyTree(RegistryRoot root, const std::string& path) {
    return static_cast<RegistryStatus>(SHDeleteKeyW(RootHandle(root), Widen(path).c_str()));
}

RegistryStatus Win32Registry::ListSubKeys(RegistryRoot root, const std::string& path,
                                          std::vector<std::string>& names) {
    names.clear();
    OpenedKey key(root, path, KEY_ENUMERATE_SUB_KEYS);
    if (key.Status() != ERROR_SUCCESS) {
        return key.Status();
    }
    for (DWORD index = 0;; ++index) {
        wchar_t buffer[256];
        DWORD length = 256;
        const LONG status =
            RegEnumKeyExW(key.Handle(), index, buffer, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) {
            return ERROR_SUCCESS;
        }
        if (status != ERROR_SUCCESS) {
            return status;
        }
        names.push_back(Narrow(std::wstring_view(buffer, length)));
    }
}

RegistryStatus Win32Registry::ListValueNames(RegistryRoot root, const std::string& path,
                                             std::vector<std::string>& names) {
    names.clear();
    OpenedKey key(root, path, KEY_QUERY_VALUE);
    if (key.Status() != ERROR_SUCCESS) {
        return key.Status();
    }
    for (DWORD index = 0;; ++index) {
        wchar_t buffer[16384];
        DWORD length = 16384;
        const LONG status =
            RegEnumValueW(key.Handle(), index, buffer, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) {
            return ERROR_SUCCESS;
        }
        if (status != ERROR_SUCCESS) {
            return status;
        }
        names.push_back(Narrow(std::wstring_view(buffer, length)));
    }
}

} // namespace grimsweep::win32
