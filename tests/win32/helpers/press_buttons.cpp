// grimsweep_press_buttons TITLE BUTTON [TITLE BUTTON]...: for each pair in turn, waits up to a minute for
// a visible window whose title begins with TITLE (an installer adds the page's name) that shows an enabled button captioned BUTTON (its "&" left out) and
// presses it, as a user answering another program's dialogs does. Exit code 0 when every button was
// pressed; 1, with the step on the error stream, when one did not come.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <string>

namespace {

std::wstring TextOf(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    std::wstring plain;
    for (const wchar_t* each = text; *each; ++each) {
        if (*each != L'&') {
            plain += *each;
        }
    }
    return plain;
}

struct Search {
    const wchar_t* title;
    const wchar_t* button;
    HWND found;
};

BOOL CALLBACK FindButton(HWND child, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    wchar_t className[32] = {};
    GetClassNameW(child, className, 32);
    if (lstrcmpiW(className, L"Button") == 0 && IsWindowVisible(child) && IsWindowEnabled(child) &&
        TextOf(child) == search->button) {
        search->found = child;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK FindWindowWithButton(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    wchar_t title[256] = {};
    GetWindowTextW(window, title, 256);
    if (IsWindowVisible(window) && std::wstring(title).starts_with(search->title)) {
        EnumChildWindows(window, FindButton, data);
    }
    return search->found ? FALSE : TRUE;
}

} // namespace

int main() {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!arguments || count < 3 || count % 2 == 0) {
        std::fprintf(stderr, "usage: grimsweep_press_buttons TITLE BUTTON [TITLE BUTTON]...\n");
        return 1;
    }
    for (int step = 1; step + 1 < count; step += 2) {
        Search search{arguments[step], arguments[step + 1], nullptr};
        for (int wait = 0; wait < 600 && !search.found; ++wait) {
            Sleep(100);
            EnumWindows(FindWindowWithButton, reinterpret_cast<LPARAM>(&search));
        }
        if (!search.found) {
            std::fprintf(stderr, "no button \"%ls\" in a window \"%ls...\"\n", search.button, search.title);
            return 1;
        }
        // Posted, not sent: a button that opens a modal box would hold a sent message until the box closes.
        PostMessageW(search.found, BM_CLICK, 0, 0);
        // The window has taken the press before the next step looks (the same window may show the next
        // button once this one has acted).
        Sleep(500);
    }
    LocalFree(arguments);
    return 0;
}
