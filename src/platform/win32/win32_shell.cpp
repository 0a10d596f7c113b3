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

} // namespace grimsweep::win32
