// gsdefs.exe beside the test program as the definition service on this machine: records published with
// "gsdefs publish" from standard input, and "gsdefs serve --port 0" on a port the system chooses, whose
// address the service prints on its first line.
#pragma once

#include <optional>
#include <string>

#include "win32/helper_programs.h"

namespace grimsweep::win32 {

// An anonymous pipe whose one end a child process inherits as a standard handle.
class ChildPipe {
public:
    // `childReads`: the child gets the read end (its standard input), else the write end.
    explicit ChildPipe(bool childReads) {
        SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
        HANDLE read = nullptr;
        HANDLE write = nullptr;
        if (!CreatePipe(&read, &write, &inheritable, 0)) {
            return;
        }
        child_ = childReads ? read : write;
        ours_ = childReads ? write : read;
        SetHandleInformation(ours_, HANDLE_FLAG_INHERIT, 0);
    }
    ~ChildPipe() {
        CloseChildEnd();
        CloseOurEnd();
    }
    ChildPipe(const ChildPipe&) = delete;
    ChildPipe& operator=(const ChildPipe&) = delete;

    HANDLE ChildEnd() const { return child_; }
    HANDLE OurEnd() const { return ours_; }
    // Once the child has started: its copy is the only one left, so it sees the end when it closes.
    void CloseChildEnd() { Close(child_); }
    void CloseOurEnd() { Close(ours_); }

private:
    static void Close(HANDLE& handle) {
        if (handle) {
            CloseHandle(handle);
            handle = nullptr;
        }
    }
    HANDLE child_ = nullptr;
    HANDLE ours_ = nullptr;
};

// Runs gsdefs beside the test program with these arguments and `input` on its standard input; its exit
// code once it has ended, or nothing when it did not start or end within ten seconds.
inline std::optional<DWORD> RunGsdefs(const std::string& arguments, const std::string& input) {
    ChildPipe in(true);
    HelperProcess gsdefs(
        "\"" + BesideTestProgram(GRIMSWEEP_GSDEFS_NAME) + "\" " + arguments,
        StandardHandles{in.ChildEnd(), GetStdHandle(STD_OUTPUT_HANDLE), GetStdHandle(STD_ERROR_HANDLE)});
    in.CloseChildEnd();
    DWORD written = 0;
    WriteFile(in.OurEnd(), input.data(), static_cast<DWORD>(input.size()), &written, nullptr);
    in.CloseOurEnd();
    return gsdefs.WaitForExit(10000);
}

// "gsdefs serve FOLDER --port 0", stopped again when the object goes.
class LocalDefinitionService {
public:
    explicit LocalDefinitionService(const std::string& folder)
        : output_(false),
          server_("\"" + BesideTestProgram(GRIMSWEEP_GSDEFS_NAME) + "\" serve \"" + folder + "\" --port 0",
                  StandardHandles{nullptr, output_.ChildEnd(), GetStdHandle(STD_ERROR_HANDLE)}) {
        output_.CloseChildEnd();
        constexpr std::string_view kListening = "listening on ";
        const std::string line = FirstLine(10000);
        if (line.starts_with(kListening)) {
            address_ = line.substr(kListening.size());
        }
    }

    // "http://127.0.0.1:PORT", or empty when the service did not start.
    const std::string& Address() const { return address_; }
    // The port alone, 0 when the service did not start.
    int Port() const {
        const std::size_t colon = address_.rfind(':');
        return colon == std::string::npos ? 0 : std::stoi(address_.substr(colon + 1));
    }

private:
    // The first line the service writes, as far as it came within the time.
    std::string FirstLine(DWORD milliseconds) {
        std::string line;
        const ULONGLONG end = GetTickCount64() + milliseconds;
        while (GetTickCount64() < end && server_.Running()) {
            DWORD available = 0;
            if (!PeekNamedPipe(output_.OurEnd(), nullptr, 0, nullptr, &available, nullptr)) {
                break;
            }
            if (available == 0) {
                Sleep(20);
                continue;
            }
            char c = 0;
            DWORD got = 0;
            if (!ReadFile(output_.OurEnd(), &c, 1, &got, nullptr) || got == 0 || c == '\n') {
                break;
            }
            if (c != '\r') {
                line += c;
            }
        }
        return line;
    }

    ChildPipe output_;
    HelperProcess server_;
    std::string address_;
};

} // namespace grimsweep::win32
