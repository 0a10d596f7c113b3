// Failures that the window code cannot hand back to anyone: an exception thrown by a handler of the
// model inside a window procedure (it must not unwind through the system's code), and a window, window
// class or control that could not be made. Each is written to the debugger (OutputDebugString) and
// shown in a message box, and the program goes on.
#pragma once

#include <exception>
#include <set>
#include <string>
#include <string_view>

#include "platform/win32/windows_api.h"

namespace grimsweep::win32 {

class FailureReport {
public:
    // A call that failed, with the error code the system gave: "CreateWindowExW (form frmAbout) failed
    // with error 1407".
    void CallFailed(std::string_view call, std::string_view subject, DWORD error);
    // An exception caught at a window procedure while it handled `message`.
    void ExceptionCaught(std::string_view where, UINT message, std::string_view what);

    int Count() const { return count_; }
    const std::string& Last() const { return last_; }

private:
    void Report(const std::string& text);

    int count_ = 0;
    std::string last_;
    std::set<std::string> boxed_; // a failure that repeats (a failing timer or paint) is boxed once
    bool boxShowing_ = false;     // failures while a box is up go to the debugger only
};

// Runs the body of a window procedure. An exception is reported (to `report`, or to the debugger alone
// when there is none) and the message is answered by `fallback` instead.
template <typename Body, typename Fallback>
LRESULT Guarded(FailureReport* report, std::string_view where, UINT message, Body&& body,
                Fallback&& fallback) noexcept {
    std::string what;
    try {
        return body();
    } catch (const std::exception& e) {
        what = e.what();
    } catch (...) {
        what = "an unknown exception";
    }
    if (report) {
        report->ExceptionCaught(where, message, what);
    } else {
        OutputDebugStringA(("Grimsweep: " + std::string(where) + ": " + what + "\n").c_str());
    }
    return fallback();
}

} // namespace grimsweep::win32
