// An ordinary library with one export and no registration entry points.
#include <windows.h>

extern "C" __declspec(dllexport) DWORD WINAPI GrimsweepPlainAnswer() {
    return 42;
}
