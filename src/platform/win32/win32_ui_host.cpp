#include "platform/win32/win32_ui_host.h"

#include "platform/win32/windows_api.h"

#include <commctrl.h>
#include <commdlg.h>

#include <optional>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_controls.h"
#include "platform/win32/win32_form_window.h"
#include "platform/win32/win32_list_icons.h"
#include "platform/win32/win32_menus.h"

namespace grimsweep::win32 {

namespace {

// The executable's icon at the system's big or small icon size, shared (never destroyed).
HICON SystemSizeIcon(const std::string& name, bool big) {
    if (name.empty()) {
        return nullptr;
    }
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), Widen(name).c_str(), IMAGE_ICON,
                                         GetSystemMetrics(big ? SM_CXICON : SM_CXSMICON),
                                         GetSystemMetrics(big ? SM_CYICON : SM_CYSMICON), LR_SHARED));
}

// The window's own styles: a borderless form is a bare popup, every other one has the normal frame.
DWORD FrameStyle(const ui::Form& form) {
    return (form.Style().borderless ? WS_POPUP : WS_OVERLAPPEDWINDOW) | WS_CLIPCHILDREN;
}

// The extended styles `current` with those of the task list: a button there, or none. A borderless
// window out of the task list is also a tool window, which keeps it out of the window switcher too; it
// has no caption for the tool style to shrink.
LONG_PTR TaskListStyle(const ui::Form& form, LONG_PTR current) {
    constexpr auto kTaskListStyles = static_cast<LONG_PTR>(WS_EX_APPWINDOW | WS_EX_TOOLWINDOW);
    LONG_PTR ex = current & ~kTaskListStyles;
    if (form.ShowInTaskList()) {
        ex |= WS_EX_APPWINDOW;
    } else if (form.Style().borderless) {
        ex |= WS_EX_TOOLWINDOW;
    }
    return ex;
}

DWORD ExtendedStyle(const ui::Form& form) {
    DWORD ex = static_cast<DWORD>(TaskListStyle(form, 0));
    if (form.Style().topMost) {
        ex |= WS_EX_TOPMOST;
    }
    if (form.Style().noActivate) {
        ex |= WS_EX_NOACTIVATE;
    }
    return ex;
}

void SetWindowIcons(HWND window, HICON big, HICON small) {
    if (big) {
        SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    }
    if (small) {
        SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    }
}

} // namespace

Win32UiHost::Win32UiHost(std::string programIcon) : programIcon_(std::move(programIcon)) {
    EnableDpiAwareness();
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES |
                                                        ICC_TAB_CLASSES | ICC_PROGRESS_CLASS |
                                                        ICC_DATE_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    const HICON big = SystemSizeIcon(programIcon_, true);
    const HICON small = SystemSizeIcon(programIcon_, false);
    RegisterWindowClasses(big, small, failures_);
    scale_ = {ScreenDpiX(), ScreenDpiY()};
    owner_ = CreateWindowExW(0, kOwnerClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    if (!owner_) {
        failures_.CallFailed("CreateWindowExW", "hidden owner window", GetLastError());
        return;
    }
    SetWindowIcons(owner_, big, small);
}

Win32UiHost::~Win32UiHost() {
    if (owner_) {
        DestroyWindow(owner_);
    }
    UnregisterWindowClasses();
    ReleaseFonts();
    for (auto& [color, brush] : brushes_) {
        DeleteObject(brush);
    }
    if (listIcons_) {
        ImageList_Destroy(listIcons_);
    }
    for (auto& [key, icon] : icons_) {
        if (icon) {
            DestroyIcon(icon);
        }
    }
}

HICON Win32UiHost::Icon(const std::string& name, int size) {
    auto [it, added] = icons_.try_emplace({name, size}, nullptr);
    if (added && !name.empty()) {
        it->second = static_cast<HICON>(
            LoadImageW(GetModuleHandleW(nullptr), Widen(name).c_str(), IMAGE_ICON, size, size, 0));
    }
    return it->second;
}

HFONT Win32UiHost::Font(bool bold, bool italic) {
    HFONT& font = fonts_[{bold, italic}];
    if (!font) {
        font = CreateUiFont(scale_.dpiY, bold, italic);
    }
    return font;
}

void Win32UiHost::ReleaseFonts() {
    for (auto& [style, font] : fonts_) {
        DeleteObject(font);
    }
    fonts_.clear();
}

HIMAGELIST Win32UiHost::ListIcons() {
    if (!listIcons_) {
        listIcons_ = CreateListIcons(MulDiv(16, scale_.dpiX, 96));
    }
    return listIcons_;
}

HBRUSH Win32UiHost::Brush(COLORREF color) {
    HBRUSH& brush = brushes_[color];
    if (!brush) {
        brush = CreateSolidBrush(color);
    }
    return brush;
}

std::optional<std::string> Win32UiHost::ChooseFileToOpen(ui::Form& owner) {
    // Long enough for any path the dialog can give (the long-path limit).
    std::wstring path(32768, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = WindowOf(owner);
    dialog.lpstrFilter = L"All Files (*.*)\0*.*\0";
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
    const BOOL chosen = GetOpenFileNameW(&dialog);
    // The windows the dialog covered repaint at the next pump.
    WindowsChanged();
    if (!chosen) {
        return std::nullopt;
    }
    path.resize(wcslen(path.c_str()));
    return Narrow(path);
}

MessageBoxAnswer Win32UiHost::ShowMessageBox(const MessageBoxRequest& request) {
    UINT style = MB_OK;
    switch (request.buttons) {
    case MessageBoxButtons::YesNo:
        style = MB_YESNO;
        break;
    case MessageBoxButtons::AbortRetryIgnore:
        style = MB_ABORTRETRYIGNORE;
        break;
    case MessageBoxButtons::Ok:
        break;
    }
    switch (request.icon) {
    case MessageBoxIcon::Information:
        style |= MB_ICONINFORMATION;
        break;
    case MessageBoxIcon::Question:
        style |= MB_ICONQUESTION;
        break;
    case MessageBoxIcon::Exclamation:
        style |= MB_ICONEXCLAMATION;
        break;
    case MessageBoxIcon::Critical:
        style |= MB_ICONERROR;
        break;
    case MessageBoxIcon::None:
        break;
    }
    // A box asked while a window is still loading (not yet shown) gets no owner, so that it does not
    // bring the half-built window on screen.
    HWND owner = GetActiveWindow();
    if (owner && !IsWindowVisible(owner)) {
        owner = nullptr;
    }
    const int pressed = MessageBoxW(owner, Widen(request.text).c_str(), Widen(request.title).c_str(),
                                    style | MB_SETFOREGROUND);
    // The windows the box covered repaint at the next pump.
    WindowsChanged();
    switch (pressed) {
    case IDYES:
        return MessageBoxAnswer::Yes;
    case IDNO:
        return MessageBoxAnswer::No;
    case IDABORT:
        return MessageBoxAnswer::Abort;
    case IDRETRY:
        return MessageBoxAnswer::Retry;
    case IDIGNORE:
        return MessageBoxAnswer::Ignore;
    default:
        return MessageBoxAnswer::Ok;
    }
}

void Win32UiHost::PumpMessages() {
    if (!windowsChanged_ && GetTickCount64() - lastDrain_ < pumpInterval_) {
        return;
    }
    DrainMessages();
}

void Win32UiHost::DrainMessages() {
    // Lets pending messages run, timers included: the program calls it inside long work. A quit is taken
    // out of the queue with the rest (so that the messages behind it still run) and posted again at the
    // end, for the message loop that ends the program.
    ++drains_;
    windowsChanged_ = false;
    MSG message;
    std::optional<int> quit;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quitPending_ = true;
            quit = static_cast<int>(message.wParam);
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (quit) {
        PostQuitMessage(*quit);
    }
    lastDrain_ = GetTickCount64();
}

bool Win32UiHost::WaitForMessage() {
    if (quitPending_) {
        return false;
    }
    // Sleeps until something is in the queue: input, a posted or sent message, a timer that fell due.
    MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    DrainMessages();
    return !quitPending_;
}

void Win32UiHost::KeepQuit(int exitCode) {
    quitPending_ = true;
    PostQuitMessage(exitCode);
}

int Win32UiHost::Run() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
        wchar_t className[32] = L"";
        if (root) {
            GetClassNameW(root, className, 32);
        }
        // Tab and arrow keys move between the controls of a form, as in a dialogue.
        if (root && lstrcmpW(className, kFormClass) == 0 && IsDialogMessageW(root, &message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

void Win32UiHost::Quit() {
    KeepQuit(0);
}

std::uint64_t Win32UiHost::Milliseconds() {
    return GetTickCount64();
}

ScreenRect Win32UiHost::TaskbarRect() {
    HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
    RECT rect{};
    if (!taskbar || !GetClientRect(taskbar, &rect)) {
        return {};
    }
    return {rect.left, rect.top, rect.right, rect.bottom};
}

ScreenRect Win32UiHost::DesktopRect() {
    RECT rect{};
    GetClientRect(GetDesktopWindow(), &rect);
    return {rect.left, rect.top, rect.right, rect.bottom};
}

void Win32UiHost::FormLoaded(ui::Form& form) {
    WindowsChanged();
    forms_[&form] = {};
    const ui::Bounds& b = form.Position();
    const SyncGuard guard(*this);
    HWND window =
        CreateWindowExW(ExtendedStyle(form), kFormClass, Widen(form.Caption()).c_str(), FrameStyle(form),
                        scale_.XToPixels(b.left), scale_.YToPixels(b.top), scale_.XToPixels(b.width),
                        scale_.YToPixels(b.height), form.ShowInTaskList() ? nullptr : owner_, nullptr,
                        GetModuleHandleW(nullptr), &form);
    form.hostHandle = reinterpret_cast<std::uintptr_t>(window);
    if (!window) {
        const DWORD error = GetLastError();
        failures_.CallFailed("CreateWindowExW", "form " + form.Name(), error);
        return;
    }
    ApplyIcon(form);
    for (const auto& control : form.Controls()) {
        CreateControlWindow(*this, *control);
    }
    RebuildMenuBar(form);
    MeasureInside(form);
}

void Win32UiHost::MeasureInside(ui::Form& form) {
    HWND window = WindowOf(form);
    RECT client{};
    // A minimised window has no inside to speak of: the form keeps the size it had.
    if (!window || IsIconic(window) || !GetClientRect(window, &client)) {
        return;
    }
    form.SetInsideSize({scale_.XToTwips(client.right), scale_.YToTwips(client.bottom)});
}

void Win32UiHost::FormUnloaded(ui::Form& form) {
    WindowsChanged();
    HWND window = WindowOf(form);
    EndModal(form);
    for (const auto& control : form.Controls()) {
        control->hostHandle = 0;
        mirrors_.erase(control.get());
    }
    form.hostHandle = 0;
    forms_.erase(&form);
    if (window) {
        const SyncGuard guard(*this);
        DestroyWindow(window);
    }
}

void Win32UiHost::ShowForm(ui::Form& form, bool modal) {
    if (!modal || !WindowOf(form)) {
        return;
    }
    // The form belongs to the window that was active, which it stays above and hands the activation back
    // to when it closes; the other forms wait while it is up.
    HWND active = GetActiveWindow();
    wchar_t className[32] = L"";
    if (active && active != WindowOf(form) && GetClassNameW(active, className, 32) &&
        lstrcmpW(className, kFormClass) == 0) {
        SetWindowLongPtrW(WindowOf(form), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(active));
    }
    ModalState shown{&form, {}};
    for (const auto& [other, state] : forms_) {
        HWND window = WindowOf(*other);
        if (other != &form && window && IsWindowEnabled(window)) {
            EnableWindow(window, FALSE);
            shown.disabled.push_back(window);
        }
    }
    modals_.push_back(std::move(shown));
    MSG message;
    while (form.Loaded() && form.Visible()) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            // The program is ending: the outer loop must see the quit too.
            KeepQuit(static_cast<int>(message.wParam));
            break;
        }
        HWND window = WindowOf(form);
        if (window && IsDialogMessageW(window, &message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (form.Loaded() && form.Visible()) {
        form.Hide();
    }
    EndModal(form);
    std::erase_if(modals_, [&](const ModalState& state) { return state.form == &form; });
}

void Win32UiHost::EndModal(const ui::Form& form) {
    for (ModalState& modal : modals_) {
        if (modal.form != &form) {
            continue;
        }
        for (HWND window : modal.disabled) {
            if (IsWindow(window)) {
                EnableWindow(window, TRUE);
            }
        }
        modal.disabled.clear();
    }
}

void Win32UiHost::ApplyWindowState(ui::Form& form) {
    HWND window = WindowOf(form);
    if (!form.Visible()) {
        EndModal(form);
        ShowWindow(window, SW_HIDE);
        return;
    }
    // A window that takes no activation shows without it: the active window keeps the keyboard.
    const bool activate = !form.Style().noActivate;
    switch (form.State()) {
    case ui::WindowState::Minimized:
        ShowWindow(window, activate ? SW_SHOWMINIMIZED : SW_SHOWMINNOACTIVE);
        break;
    case ui::WindowState::Maximized:
        ShowWindow(window, SW_SHOWMAXIMIZED);
        break;
    case ui::WindowState::Normal:
        if (IsIconic(window) || IsZoomed(window)) {
            ShowWindow(window, activate ? SW_RESTORE : SW_SHOWNOACTIVATE);
        } else {
            ShowWindow(window, activate ? SW_SHOW : SW_SHOWNA);
        }
        break;
    }
}

// A framed window out of the task list keeps its normal frame: it is owned by a hidden window instead
// of becoming a tool window (a borderless one is both, see TaskListStyle). The taskbar reads the styles
// only when a window is shown, so a visible window is hidden and shown again, and only when something
// changes: the program asks at every resize, and each hide would take the activation away from the
// window (and a click on it with it).
void Win32UiHost::ApplyTaskList(ui::Form& form) {
    HWND window = WindowOf(form);
    const LONG_PTR was = GetWindowLongPtrW(window, GWL_EXSTYLE);
    const LONG_PTR ex = TaskListStyle(form, was);
    HWND owner = form.ShowInTaskList() ? nullptr : owner_;
    if (ex == was && GetWindow(window, GW_OWNER) == owner) {
        return;
    }
    const bool visible = IsWindowVisible(window) != FALSE;
    const bool active = GetActiveWindow() == window;
    if (visible) {
        ShowWindow(window, SW_HIDE);
    }
    SetWindowLongPtrW(window, GWL_EXSTYLE, ex);
    SetWindowLongPtrW(window, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    if (visible) {
        ShowWindow(window, active ? SW_SHOW : SW_SHOWNA);
    }
}

void Win32UiHost::ApplyIcon(ui::Form& form) {
    const std::string& name = form.IconResource().empty() ? programIcon_ : form.IconResource();
    SetWindowIcons(WindowOf(form), SystemSizeIcon(name, true), SystemSizeIcon(name, false));
}

// The system asks for the pointer only when the mouse moves: one that already lies over the window gets
// the new one at once, chosen as a move would choose it.
void Win32UiHost::ApplyPointer(HWND window) {
    POINT point{};
    if (!GetCursorPos(&point)) {
        return;
    }
    HWND under = WindowFromPoint(point);
    if (!under || (under != window && !IsChild(window, under))) {
        return;
    }
    const LRESULT hit = SendMessageW(under, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y));
    SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under),
                 MAKELPARAM(static_cast<WORD>(hit), WM_MOUSEMOVE));
}

void Win32UiHost::FormChanged(ui::Form& form, ui::FormChange change) {
    WindowsChanged();
    HWND window = WindowOf(form);
    if (!window) {
        return;
    }
    const SyncGuard guard(*this);
    switch (change) {
    case ui::FormChange::Caption:
        SetWindowTextW(window, Widen(form.Caption()).c_str());
        break;
    case ui::FormChange::Visible:
    case ui::FormChange::State:
        ApplyWindowState(form);
        break;
    case ui::FormChange::Position: {
        const ui::Bounds& b = form.Position();
        WINDOWPLACEMENT placement{};
        placement.length = sizeof(placement);
        GetWindowPlacement(window, &placement);
        placement.rcNormalPosition = {scale_.XToPixels(b.left), scale_.YToPixels(b.top),
                                      scale_.XToPixels(b.left + b.width), scale_.YToPixels(b.top + b.height)};
        if (IsIconic(window) || IsZoomed(window)) {
            SetWindowPlacement(window, &placement);
        } else {
            SetWindowPos(window, nullptr, scale_.XToPixels(b.left), scale_.YToPixels(b.top),
                         scale_.XToPixels(b.width), scale_.YToPixels(b.height),
                         SWP_NOZORDER | SWP_NOACTIVATE);
        }
        break;
    }
    case ui::FormChange::TaskList:
        ApplyTaskList(form);
        break;
    case ui::FormChange::Icon:
        ApplyIcon(form);
        break;
    case ui::FormChange::Pointer:
        ApplyPointer(window);
        break;
    case ui::FormChange::Region: {
        RECT bounds{};
        GetWindowRect(window, &bounds);
        // The window owns the region once it is set, and frees the one it replaces.
        SetWindowRgn(window, CreateRectRgn(0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top),
                     TRUE);
        break;
    }
    }
    MeasureInside(form);
}

void Win32UiHost::ControlAdded(ui::Control& control) {
    if (control.Type() != ui::ControlType::Timer) {
        WindowsChanged();
    }
    CreateControlWindow(*this, control);
    if (control.Type() == ui::ControlType::Menu) {
        RebuildMenuBar(control.Owner());
        MeasureInside(control.Owner());
    }
}

void Win32UiHost::ControlChanged(ui::Control& control, ui::Change change) {
    if (control.Type() != ui::ControlType::Timer) {
        WindowsChanged();
    }
    UpdateControlWindow(*this, control, change);
    if (control.Type() == ui::ControlType::Menu) {
        MeasureInside(control.Owner());
    }
}

void Win32UiHost::ListRowsChanged(ui::Control& list, const ui::RowChange& change) {
    WindowsChanged();
    if (HWND window = WindowOf(list)) {
        const SyncGuard guard(*this);
        ApplyRowChange(window, list, Mirror(list), change);
    }
}

void Win32UiHost::LockDrawing(ui::Form& form, bool locked) {
    WindowsChanged();
    HWND window = WindowOf(form);
    auto state = forms_.find(&form);
    if (!window || state == forms_.end()) {
        return;
    }
    int& locks = state->second.drawingLocks;
    if (locked) {
        if (locks++ == 0) {
            SendMessageW(window, WM_SETREDRAW, FALSE, 0);
        }
    } else if (locks > 0 && --locks == 0) {
        SendMessageW(window, WM_SETREDRAW, TRUE, 0);
        RedrawWindow(window, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
    }
}

void Win32UiHost::DpiChanged(ui::Form& form, int dpi, const RECT& suggested) {
    if (dpi <= 0) {
        return;
    }
    scale_ = {dpi, dpi};
    ReleaseFonts();
    if (listIcons_) {
        ImageList_Destroy(listIcons_);
        listIcons_ = nullptr;
    }
    const SyncGuard guard(*this);
    SetWindowPos(WindowOf(form), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    for (const auto& [other, state] : forms_) {
        for (const auto& control : other->Controls()) {
            if (HWND window = WindowOf(*control)) {
                SendMessageW(window, WM_SETFONT,
                             reinterpret_cast<WPARAM>(Font(control->Bold(), control->Italic())), TRUE);
                if (control->Type() == ui::ControlType::ListView) {
                    SendMessageW(window, LVM_SETIMAGELIST, LVSIL_SMALL,
                                 reinterpret_cast<LPARAM>(ListIcons()));
                    for (auto& column : mirrors_[control.get()].columns) {
                        column.width = -1; // widths follow the new resolution
                    }
                    SyncListView(window, *control, mirrors_[control.get()], scale_);
                }
                PlaceControlWindow(*this, *control);
            }
        }
        MeasureInside(*other);
    }
}

} // namespace grimsweep::win32
