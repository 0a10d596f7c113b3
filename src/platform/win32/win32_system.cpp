#include "platform/win32/win32_system.h"

#include "platform/win32/windows_api.h"

#include <winver.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/win32/wide_text.h"

namespace grimsweep::win32 {

namespace {

// The string values the program looks at in a version resource.
constexpr const wchar_t* kVersionStringNames[] = {L"ProductName",     L"CompanyName",      L"Comments",
                                                  L"FileDescription", L"FileVersion",      L"ProductVersion",
                                                  L"InternalName",    L"OriginalFilename", L"LegalCopyright"};

std::optional<std::wstring> QueryVersionString(std::vector<BYTE>& block, const wchar_t* table,
                                               const wchar_t* name) {
    wchar_t query[128];
    swprintf(query, 128, L"\\StringFileInfo\\%ls\\%ls", table, name);
    wchar_t* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), query, reinterpret_cast<void**>(&value), &length) || !value) {
        return std::nullopt;
    }
    std::wstring text(value, length);
    if (const auto nul = text.find(L'\0'); nul != std::wstring::npos) {
        text.resize(nul);
    }
    return text;
}

std::string ConvertCodePage(UINT from, UINT to, const std::string& text) {
    return Narrow(Widen(text, from), to);
}

} // namespace

Win32System::~Win32System() {
    if (instanceLock_) {
        CloseHandle(instanceLock_);
    }
}

OsVersion Win32System::GetOsVersion() {
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    GetVersionExW(&info);
#pragma GCC diagnostic pop
    return {info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber};
}

std::string Win32System::SystemFolder() {
    wchar_t buffer[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(buffer, MAX_PATH);
    return length > 0 && length < MAX_PATH ? Narrow(std::wstring_view(buffer, length)) : std::string();
}

std::string Win32System::OwnExecutablePath() {
    std::vector<wchar_t> buffer(MAX_PATH);
    while (true) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return {};
        }
        if (length < buffer.size()) {
            return Narrow(std::wstring_view(buffer.data(), length));
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::optional<VersionResource> Win32System::ReadVersionResource(const std::string& path) {
    const std::wstring widePath = Widen(path);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(widePath.c_str(), &ignored);
    if (size == 0) {
        return std::nullopt;
    }
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoW(widePath.c_str(), 0, size, block.data())) {
        return std::nullopt;
    }
    VersionResource resource;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedLength = 0;
    if (VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedLength) && fixed &&
        fixedLength >= sizeof(VS_FIXEDFILEINFO)) {
        resource.fileMajor = HIWORD(fixed->dwFileVersionMS);
        resource.fileMinor = LOWORD(fixed->dwFileVersionMS);
        resource.fileBuild = HIWORD(fixed->dwFileVersionLS);
        resource.fileRevision = LOWORD(fixed->dwFileVersionLS);
    }
    // The string table named by the first translation, then the usual English ones.
    std::vector<std::wstring> tables;
    struct Translation {
        WORD language;
        WORD codePage;
    }* translations = nullptr;
    UINT translationLength = 0;
    if (VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations),
                       &translationLength) &&
        translations && translationLength >= sizeof(Translation)) {
        wchar_t table[16];
        swprintf(table, 16, L"%04x%04x", translations[0].language, translations[0].codePage);
        tables.emplace_back(table);
    }
    tables.emplace_back(L"040904b0");
    tables.emplace_back(L"040904e4");
    for (const auto& table : tables) {
        for (const wchar_t* name : kVersionStringNames) {
            if (!resource.strings.count(Narrow(name))) {
                if (auto value = QueryVersionString(block, table.c_str(), name)) {
                    resource.strings[Narrow(name)] = Narrow(*value);
                }
            }
        }
    }
    return resource;
}

bool Win32System::AcquireSingleInstanceLock(const std::string& name) {
    if (instanceLock_) {
        return true;
    }
    HANDLE mutex = CreateMutexW(nullptr, FALSE, Widen("Local\\" + name).c_str());
    if (!mutex) {
        return true; // without a lock the program cannot tell, and runs
    }
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return false;
    }
    instanceLock_ = mutex;
    return true;
}

LocalDateTime Win32System::Now() {
    SYSTEMTIME time;
    GetLocalTime(&time);
    return {time.wYear,   time.wMonth,  time.wDay,       time.wHour,
            time.wMinute, time.wSecond, time.wDayOfWeek, time.wMilliseconds};
}

std::string Win32System::FormatDateTimeForDisplay(const LocalDateTime& when) {
    SYSTEMTIME time = {};
    time.wYear = static_cast<WORD>(when.year);
    time.wMonth = static_cast<WORD>(when.month);
    time.wDay = static_cast<WORD>(when.day);
    time.wHour = static_cast<WORD>(when.hour);
    time.wMinute = static_cast<WORD>(when.minute);
    time.wSecond = static_cast<WORD>(when.second);
    time.wDayOfWeek = static_cast<WORD>(when.dayOfWeek);
    wchar_t date[128] = {};
    wchar_t clock[128] = {};
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, date, 128);
    GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &time, nullptr, clock, 128);
    return Narrow(date) + " " + Narrow(clock);
}

void Win32System::Sleep(std::uint32_t milliseconds) {
    ::Sleep(milliseconds);
}

bool Win32System::SetClipboardText(const std::string& text) {
    if (!OpenClipboard(nullptr)) {
        return false;
    }
    EmptyClipboard();
    const std::wstring wide = Widen(text);
    const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
    bool ok = false;
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        std::memcpy(GlobalLock(memory), wide.c_str(), bytes);
        GlobalUnlock(memory);
        ok = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
        if (!ok) {
            GlobalFree(memory);
        }
    }
    CloseClipboard();
    return ok;
}

std::optional<std::string> Win32System::GetClipboardText() {
    if (!OpenClipboard(nullptr)) {
        return std::nullopt;
    }
    std::optional<std::string> text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (auto* wide = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = Narrow(wide);
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

std::string Win32System::CodePageToUtf8(const std::string& bytes) {
    return ConvertCodePage(CP_ACP, CP_UTF8, bytes);
}

std::string Win32System::Utf8ToCodePage(const std::string& text) {
    return ConvertCodePage(CP_UTF8, CP_ACP, text);
}

} // namespace grimsweep::win32
