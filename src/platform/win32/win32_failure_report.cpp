#include "platform/win32/win32_failure_report.h"

#include <cstdio>

#include "platform/win32/wide_text.h"

namespace grimsweep::win32 {

namespace {

// The box's title: the executable's file name, which the user can tell apart from other programs.
std::wstring ProgramFileName() {
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring full = path;
    const std::size_t slash = full.find_last_of(L"\\/");
    return slash == std::wstring::npos ? full : full.substr(slash + 1);
}

} // namespace

void FailureReport::CallFailed(std::string_view call, std::string_view subject, DWORD error) {
    Report(std::string(call) + " (" + std::string(subject) + ") failed with error " + std::to_string(error));
}

void FailureReport::ExceptionCaught(std::string_view where, UINT message, std::string_view what) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%04X", message);
    Report(std::string(where) + ", message " + code + ": " + std::string(what));
}

void FailureReport::Report(const std::string& text) {
    ++count_;
    last_ = text;
    OutputDebugStringW((L"Grimsweep: " + Widen(text) + L"\n").c_str());
    if (boxShowing_ || !boxed_.insert(text).second) {
        return;
    }
    boxShowing_ = true;
    const std::wstring message =
        L"An error occurred; the step was skipped and the program goes on.\r\n\r\n" + Widen(text);
    MessageBoxW(nullptr, message.c_str(), ProgramFileName().c_str(), MB_OK | MB_ICONERROR | MB_TASKMODAL);
    boxShowing_ = false;
}

} // namespace grimsweep::win32
