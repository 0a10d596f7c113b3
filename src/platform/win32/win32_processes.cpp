#include "platform/win32/win32_processes.h"

#include "platform/win32/windows_api.h"

#include <psapi.h>
#include <tlhelp32.h>

#include <optional>
#include <string>

#include "platform/win32/wide_text.h"

namespace grimsweep::win32 {

namespace {

constexpr DWORD kLongestPath = 32768; // the longest path Windows forms, in UTF-16 units

// Switches SeDebugPrivilege on for the program's own token, and off again when it goes.
class DebugPrivilege {
public:
    DebugPrivilege() {
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token_)) {
            token_ = nullptr;
            return;
        }
        if (!LookupPrivilegeValueW(nullptr, L"SeDebugPrivilege", &luid_)) {
            return;
        }
        enabled_ = Adjust(SE_PRIVILEGE_ENABLED);
    }
    ~DebugPrivilege() {
        if (enabled_) {
            Adjust(0);
        }
        if (token_) {
            CloseHandle(token_);
        }
    }
    DebugPrivilege(const DebugPrivilege&) = delete;
    DebugPrivilege& operator=(const DebugPrivilege&) = delete;

private:
    bool Adjust(DWORD attributes) {
        TOKEN_PRIVILEGES privileges = {};
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Luid = luid_;
        privileges.Privileges[0].Attributes = attributes;
        return AdjustTokenPrivileges(token_, FALSE, &privileges, sizeof privileges, nullptr, nullptr) &&
               GetLastError() == ERROR_SUCCESS;
    }

    HANDLE token_ = nullptr;
    LUID luid_ = {};
    bool enabled_ = false;
};

// The full path of the process's image in its Win32 form; nothing when it cannot be read.
std::optional<std::string> ProcessImagePath(HANDLE process) {
    std::wstring path(kLongestPath, L'\0');
    DWORD size = kLongestPath;
    if (!QueryFullProcessImageNameW(process, 0, path.data(), &size)) {
        return std::nullopt;
    }
    path.resize(size);
    return Narrow(path);
}

} // namespace

std::optional<std::vector<std::uint32_t>> Win32Processes::ListProcessIds() {
    // Room for 128 identifiers first; doubled until the answer leaves room to spare.
    std::vector<DWORD> ids(128);
    while (true) {
        DWORD bytes = 0;
        if (!EnumProcesses(ids.data(), static_cast<DWORD>(ids.size() * sizeof(DWORD)), &bytes)) {
            return std::nullopt;
        }
        if (bytes < ids.size() * sizeof(DWORD)) {
            ids.resize(bytes / sizeof(DWORD));
            return std::vector<std::uint32_t>(ids.begin(), ids.end());
        }
        ids.resize(ids.size() * 2);
    }
}

std::optional<std::vector<SnapshotEntry>> Win32Processes::Snapshot() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPALL, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    std::vector<SnapshotEntry> entries;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        entries.push_back({entry.th32ProcessID, Narrow(entry.szExeFile)});
    }
    CloseHandle(snapshot);
    return entries;
}

MainModule Win32Processes::QueryMainModule(std::uint32_t id) {
    MainModule module;
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, id);
    if (!process) {
        module.status = ModuleQueryStatus::CannotOpen;
        return module;
    }
    HMODULE first = nullptr;
    DWORD needed = 0;
    if (!EnumProcessModules(process, &first, sizeof first, &needed)) {
        module.status = ModuleQueryStatus::NoModules;
    } else {
        wchar_t name[MAX_PATH] = {};
        wchar_t path[MAX_PATH] = {};
        if (GetModuleBaseNameW(process, first, name, MAX_PATH) == 0) {
            module.status = ModuleQueryStatus::NameUnreadable;
        } else {
            module.status = ModuleQueryStatus::Ok;
            module.baseName = Narrow(name);
        }
        // The path is read on its own: the scan needs it even when the base name could not be read.
        if (GetModuleFileNameExW(process, first, path, MAX_PATH) > 0) {
            module.fullPath = Narrow(path);
        }
    }
    CloseHandle(process);
    return module;
}

bool Win32Processes::Terminate(std::uint32_t id, std::uint32_t exitCode, bool debugPrivilege) {
    std::optional<DebugPrivilege> privilege;
    if (debugPrivilege) {
        privilege.emplace(); // without it the user's own processes still open
    }
    // Only the right to terminate: a standard user gets it for processes of their own.
    HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, id);
    if (!process) {
        return false;
    }
    const bool ok = TerminateProcess(process, exitCode) != 0;
    CloseHandle(process);
    return ok;
}

CheckedStop Win32Processes::TerminateIfImage(std::uint32_t id, const ImageCheck& isExpected,
                                             std::uint32_t exitCode, bool debugPrivilege) {
    std::optional<DebugPrivilege> privilege;
    if (debugPrivilege) {
        privilege.emplace();
    }
    HANDLE process = OpenProcess(PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    if (!process) {
        return GetLastError() == ERROR_INVALID_PARAMETER ? CheckedStop::Gone : CheckedStop::CannotOpen;
    }
    const CheckedStop outcome = [&] {
        // A process that has exited stays open to handles that others still hold.
        DWORD code = 0;
        if (GetExitCodeProcess(process, &code) && code != STILL_ACTIVE) {
            return CheckedStop::Gone;
        }
        const auto image = ProcessImagePath(process);
        if (!image) {
            return CheckedStop::CannotOpen;
        }
        if (!isExpected(*image)) {
            return CheckedStop::OtherProgram;
        }
        return TerminateProcess(process, exitCode) ? CheckedStop::Terminated : CheckedStop::TerminateFailed;
    }();
    CloseHandle(process);
    return outcome;
}

bool Win32Processes::WaitForExit(std::uint32_t id, std::uint32_t milliseconds) {
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, id);
    if (!process) {
        return GetLastError() == ERROR_INVALID_PARAMETER; // no such process any more
    }
    const bool ended = WaitForSingleObject(process, milliseconds) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended;
}

} // namespace grimsweep::win32
