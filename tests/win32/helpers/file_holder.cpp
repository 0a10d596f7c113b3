// grimsweep_file_holder PATH: opens the file for reading, sharing reading only (no writing, no deleting),
// and sleeps with it open until it is stopped. Exit code 1 when the file cannot be opened.
#include <windows.h>

#include <shellapi.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!arguments || count != 2) {
        return 1;
    }
    // Someone looking at the file for a moment (a test waiting for it to be held) is waited out.
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 1000 && file == INVALID_HANDLE_VALUE; ++attempt) {
        file = CreateFileW(arguments[1], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_SHARING_VIOLATION) {
            break;
        }
        if (file == INVALID_HANDLE_VALUE) {
            Sleep(10);
        }
    }
    LocalFree(arguments);
    if (file == INVALID_HANDLE_VALUE) {
        return 1;
    }
    for (;;) {
        Sleep(INFINITE);
    }
}
