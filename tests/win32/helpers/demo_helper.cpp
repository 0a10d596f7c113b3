// A stand-in for a listed program: it runs without a window and sleeps until it is stopped. The tests and
// the demo machine start copies of it from folders of their own.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    for (;;) {
        Sleep(INFINITE);
    }
}
