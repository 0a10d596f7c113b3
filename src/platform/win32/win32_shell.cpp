#include "platform/win32/win32_shell.h"

#include "platform/win32/windows_api.h"

#include <shellapi.h>
#include <shlobj.h>

#include <vector>

#include "platform/win32/wide_text.h"

namespace grimsweep::win32 {

namespace {
// The program has one notification icon per window, identified by the window and this number.
constexpr UINT kNotifyIconId = 1;
} // namespace

std::optional<std::string> Win32Shell::SpecialFolderPath(int csidl) {
    wchar_t buffer[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathW(nullptr, buffer, csidl, FALSE)) {
        return std::nullopt;
    }
    return Narrow(buffer);
}

std::optional<std::string> Win32Shell::SpecialFolderPathFromIdList(int csidl) {
    PIDLIST_ABSOLUTE list = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &list)) || !list) {
        return std::nullopt;
    }
    wchar_t buffer[MAX_PATH] = {};
    const BOOL found = SHGetPathFromIDListW(list, buffer);
    CoTaskMemFree(list);
    if (!found) {
        return std::nullopt;
    }
    return Narrow(buffer);
}

bool Win32Shell::OpenWithDefaultHandler(const std::string& target, const std::string& verb) {
    const std::wstring wideVerb = Widen(verb);
    const auto result =
        reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, verb.empty() ? nullptr : wideVerb.c_str(),
                                                Widen(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

bool Win32Shell::RunCommand(const std::string& commandLine) {
    std::wstring command = Widen(commandLine);
    std::vector<wchar_t> buffer(command.begin(), command.end());
    buffer.push_back(L'\0');
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

bool Win32Shell::NotifyIcon(NotifyIconAction action, const NotifyIconRequest& request) {
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof data;
    data.hWnd = reinterpret_cast<HWND>(request.window);
    data.uID = kNotifyIconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = request.callbackMessage;
    if (!request.iconResource.empty()) {
        data.hIcon = static_cast<HICON>(
            LoadImageW(GetModuleHandleW(nullptr), Widen(request.iconResource).c_str(), IMAGE_ICON,
                       GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    }
    const std::wstring tip = Widen(request.tip);
    wcsncpy(data.szTip, tip.c_str(), (sizeof data.szTip / sizeof data.szTip[0]) - 1);
    const DWORD message = action == NotifyIconAction::Add      ? NIM_ADD
                          : action == NotifyIconAction::Modify ? NIM_MODIFY
                                                               : NIM_DELETE;
    return Shell_NotifyIconW(message, &data) != FALSE;
}

bool Win32Shell::RunsElevated() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        return false;
    }
    TOKEN_ELEVATION elevation = {};
    DWORD size = 0;
    const BOOL known = GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size);
    CloseHandle(token);
    // Before User Account Control there is no elevation to ask for.
    return !known || elevation.TokenIsElevated != 0;
}

ElevatedRun Win32Shell::RunAsAdministrator(const std::string& program, const std::string& parameters,
                                           const std::function<void()>& whileWaiting) {
    constexpr DWORD kWaitTickMilliseconds = 50;
    const std::wstring file = Widen(program);
    const std::wstring arguments = Widen(parameters);
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"runas";
    info.lpFile = file.c_str();
    info.lpParameters = arguments.c_str();
    info.nShow = SW_HIDE;
    ElevatedRun run;
    if (!ShellExecuteExW(&info)) {
        run.status =
            GetLastError() == ERROR_CANCELLED ? ElevatedRunStatus::Declined : ElevatedRunStatus::Failed;
        return run;
    }
    if (!info.hProcess) {
        return run;
    }
    while (WaitForSingleObject(info.hProcess, kWaitTickMilliseconds) == WAIT_TIMEOUT) {
        if (whileWaiting) {
            whileWaiting();
        }
    }
    DWORD code = 0;
    if (GetExitCodeProcess(info.hProcess, &code)) {
        run.status = ElevatedRunStatus::Finished;
        run.exitCode = code;
    }
    CloseHandle(info.hProcess);
    return run;
}

} // namespace grimsweep::win32
