// A library that must never be loaded by the probes: on process attach its TLS callback and its DllMain
// each write a marker file into the temporary folder and end the process. Its forwarded export points back
// at the built copy of itself, so following the forwarder loads it normally and runs the same code.
#include <windows.h>

namespace {

void Strike(const char* who) {
    wchar_t marker[MAX_PATH + 64];
    const DWORD length = GetTempPathW(MAX_PATH, marker);
    if (length == 0 || length >= MAX_PATH) {
        ExitProcess(3);
    }
    lstrcatW(marker, L"grimsweep-hostile-library-ran.txt");
    HANDLE file =
        CreateFileW(marker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(file, who, static_cast<DWORD>(lstrlenA(who)), &written, nullptr);
        CloseHandle(file);
    }
    ExitProcess(3);
}

void NTAPI TlsCallback(PVOID, DWORD reason, PVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        Strike("tls callback");
    }
}

} // namespace

// The C runtime gathers the callbacks of the .CRT$XL* sections into the image's TLS directory.
extern "C" __attribute__((section(".CRT$XLB"), used)) const PIMAGE_TLS_CALLBACK grimsweepHostileTlsCallback =
    TlsCallback;

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        Strike("DllMain");
    }
    return TRUE;
}

extern "C" HRESULT WINAPI DllUnregisterServer() {
    Strike("DllUnregisterServer");
    return S_OK;
}
