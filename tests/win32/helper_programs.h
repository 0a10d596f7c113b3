// The helper programs and libraries built beside the test program, and a helper process that is ended
// again whatever the test does.
#pragma once

#include <optional>
#include <string>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_system.h"
#include "platform/win32/windows_api.h"

namespace grimsweep::win32 {

// The full path of a file built beside the test program (one of the GRIMSWEEP_..._NAME definitions).
inline std::string BesideTestProgram(const char* name) {
    const std::string own = Win32System().OwnExecutablePath();
    return own.substr(0, own.rfind('\\') + 1) + name;
}

// The standard input, output and error a helper process is given.
struct StandardHandles {
    HANDLE input = nullptr;
    HANDLE output = nullptr;
    HANDLE error = nullptr;
};

class HelperProcess {
public:
    // Standard handles given must be inheritable: the process then inherits every inheritable handle of
    // this one.
    explicit HelperProcess(const std::string& commandLine,
                           std::optional<StandardHandles> handles = std::nullopt, DWORD creationFlags = 0) {
        std::wstring command = Widen(commandLine);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        if (handles) {
            startup.dwFlags = STARTF_USESTDHANDLES;
            startup.hStdInput = handles->input;
            startup.hStdOutput = handles->output;
            startup.hStdError = handles->error;
        }
        PROCESS_INFORMATION child{};
        if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, handles ? TRUE : FALSE, creationFlags,
                           nullptr, nullptr, &startup, &child)) {
            CloseHandle(child.hThread);
            process_ = child.hProcess;
            id_ = child.dwProcessId;
        }
    }
    ~HelperProcess() { Stop(); }
    HelperProcess(const HelperProcess&) = delete;
    HelperProcess& operator=(const HelperProcess&) = delete;

    bool Started() const { return process_ != nullptr; }
    DWORD Id() const { return id_; }
    bool Running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }
    // Waits for the process to end by itself; its exit code, or nothing when it is still running.
    std::optional<DWORD> WaitForExit(DWORD milliseconds) const {
        DWORD code = 0;
        if (!process_ || WaitForSingleObject(process_, milliseconds) != WAIT_OBJECT_0 ||
            !GetExitCodeProcess(process_, &code)) {
            return std::nullopt;
        }
        return code;
    }
    void Stop() {
        if (process_) {
            TerminateProcess(process_, 0);
            WaitForSingleObject(process_, 5000);
            CloseHandle(process_);
            process_ = nullptr;
        }
    }

private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

// Whether another process holds the file open without sharing deletion. The probe's own brief open can
// collide with the holder's; the holder tries again.
inline bool HeldWithoutDeleteSharing(const std::string& path) {
    HANDLE probe =
        CreateFileW(Widen(path).c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe != INVALID_HANDLE_VALUE) {
        CloseHandle(probe);
        return false;
    }
    return GetLastError() == ERROR_SHARING_VIOLATION;
}

// Waits up to five seconds for the holder (grimsweep_file_holder) to have the file open.
inline bool WaitUntilHeld(const HelperProcess& holder, const std::string& path) {
    for (int wait = 0; wait < 500 && holder.Running(); ++wait) {
        if (HeldWithoutDeleteSharing(path)) {
            return true;
        }
        Sleep(10);
    }
    return false;
}

} // namespace grimsweep::win32
