#include "platform/win32/win32_form_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <optional>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_controls.h"
#include "platform/win32/win32_ui_host.h"
#include "ui/form.h"

namespace grimsweep::win32 {

const wchar_t kFormClass[] = L"GrimsweepForm";
const wchar_t kPaneClass[] = L"GrimsweepPane";
const wchar_t kOwnerClass[] = L"GrimsweepOwner";

namespace {

// WM_DPICHANGED, which older headers do not name.
constexpr UINT kDpiChanged = 0x02E0;

ui::Form* FormOfWindow(HWND window) {
    return reinterpret_cast<ui::Form*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

Win32UiHost& HostOf(const ui::Form& form) {
    return static_cast<Win32UiHost&>(form.Host());
}

FailureReport* FailuresOf(const ui::Form* form) {
    return form ? &HostOf(*form).Failures() : nullptr;
}

void OnCommand(ui::Form& form, WPARAM wParam, LPARAM lParam) {
    ui::Control* control = ControlFromId(form, LOWORD(wParam));
    if (!control) {
        return;
    }
    const UINT code = HIWORD(wParam);
    if (lParam == 0) {
        if (code == 0 && control->Type() == ui::ControlType::Menu) {
            control->Click();
        }
        return;
    }
    HWND window = reinterpret_cast<HWND>(lParam);
    switch (control->Type()) {
    case ui::ControlType::CommandButton:
        if (code == BN_CLICKED) {
            control->Click();
        }
        break;
    case ui::ControlType::CheckBox:
        if (code == BN_CLICKED) {
            control->SetValue(SendMessageW(window, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0);
        }
        break;
    case ui::ControlType::OptionButton:
        if (code == BN_CLICKED && control->Enabled()) {
            control->SetValue(1);
        }
        break;
    case ui::ControlType::Label:
    case ui::ControlType::SkinLabel:
        if (code == STN_CLICKED) {
            control->Click();
        }
        break;
    case ui::ControlType::TextBox:
        if (code == EN_CHANGE) {
            const int length = GetWindowTextLengthW(window);
            std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
            GetWindowTextW(window, text.data(), length + 1);
            text.resize(static_cast<std::size_t>(length));
            control->SetText(Narrow(text));
            if (control->onChange) {
                control->onChange();
            }
        }
        break;
    case ui::ControlType::ComboBox:
        if (code == CBN_SELCHANGE) {
            control->SetListIndex(static_cast<int>(SendMessageW(window, CB_GETCURSEL, 0, 0)));
        }
        break;
    default:
        break;
    }
}

void OnNotify(ui::Form& form, const NMHDR& header) {
    ui::Control* control = ControlFromId(form, header.idFrom);
    if (!control || WindowOf(*control) != header.hwndFrom) {
        return;
    }
    switch (control->Type()) {
    case ui::ControlType::ListView:
        if (header.code == LVN_ITEMCHANGED) {
            const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
            if (auto check = CheckFromNotification(change, control->Rows().size())) {
                control->SetRowChecked(check->row, check->checked);
            }
        }
        break;
    case ui::ControlType::TabStrip:
        if (header.code == TCN_SELCHANGE) {
            control->SelectTab(static_cast<int>(SendMessageW(header.hwndFrom, TCM_GETCURSEL, 0, 0)) + 1);
        }
        break;
    case ui::ControlType::DatePicker:
    case ui::ControlType::TimePicker:
        if (header.code == DTN_DATETIMECHANGE) {
            const auto& change = reinterpret_cast<const NMDATETIMECHANGE&>(header);
            if (change.dwFlags == GDT_VALID) {
                const SYSTEMTIME& t = change.st;
                control->SetDateValue(
                    LocalDateTime{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wDayOfWeek});
            } else {
                control->SetDateValue(std::nullopt);
            }
        }
        break;
    default:
        break;
    }
}

// Colours of labels, check boxes, options and text boxes: the control's own, else those of the pane
// it lies on.
LRESULT OnControlColor(Win32UiHost& host, HDC dc, HWND child, bool edit) {
    const ui::Control* control = ControlOfWindow(child);
    if (!control) {
        return 0;
    }
    if (control->ForeColor()) {
        SetTextColor(dc, ToColorRef(*control->ForeColor()));
    }
    if (auto back = InheritedBackColor(*control)) {
        SetBkColor(dc, *back);
        return reinterpret_cast<LRESULT>(host.Brush(*back));
    }
    const int system = edit ? COLOR_WINDOW : COLOR_BTNFACE;
    SetBkColor(dc, GetSysColor(system));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(system));
}

bool IsControlColor(UINT message) {
    return message == WM_CTLCOLORSTATIC || message == WM_CTLCOLOREDIT || message == WM_CTLCOLORBTN ||
           message == WM_CTLCOLORLISTBOX;
}

void ReportWindowChange(ui::Form& form, HWND window) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    GetWindowPlacement(window, &placement);
    ui::WindowState state = ui::WindowState::Normal;
    RECT rect = placement.rcNormalPosition;
    if (IsIconic(window)) {
        state = ui::WindowState::Minimized;
    } else {
        if (IsZoomed(window)) {
            state = ui::WindowState::Maximized;
        }
        GetWindowRect(window, &rect);
    }
    const TwipsScale& scale = HostOf(form).Scale();
    ui::Size inside{form.ScaleWidth(), form.ScaleHeight()};
    RECT client{};
    if (state != ui::WindowState::Minimized && GetClientRect(window, &client)) {
        inside = {scale.XToTwips(client.right), scale.YToTwips(client.bottom)};
    }
    form.SetFromWindow({scale.XToTwips(rect.left), scale.YToTwips(rect.top),
                        scale.XToTwips(rect.right - rect.left), scale.YToTwips(rect.bottom - rect.top)},
                       state, inside);
}

int ToTwips(double pixels, double twipsPerPixel) {
    return static_cast<int>(std::lround(pixels * twipsPerPixel));
}

LRESULT FormMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        return DefWindowProcW(window, message, wParam, lParam);
    }
    ui::Form* form = FormOfWindow(window);
    if (!form || WindowOf(*form) != window) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    Win32UiHost& host = HostOf(*form);
    if (IsControlColor(message)) {
        return OnControlColor(host, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam),
                              message == WM_CTLCOLOREDIT);
    }
    switch (message) {
    case WM_COMMAND:
        if (!host.Syncing()) {
            OnCommand(*form, wParam, lParam);
        }
        return 0;
    case WM_NOTIFY:
        if (!host.Syncing()) {
            OnNotify(*form, *reinterpret_cast<const NMHDR*>(lParam));
        }
        return 0;
    case WM_TIMER:
        if (ui::Control* timer = ControlFromId(*form, wParam);
            timer && timer->Type() == ui::ControlType::Timer) {
            timer->Tick();
        }
        return 0;
    case WM_CLOSE:
        form->RequestClose();
        return 0;
    case WM_MOUSEACTIVATE:
        // A click on a window that takes no activation leaves the active window as it is.
        if (form->Style().noActivate) {
            return MA_NOACTIVATE;
        }
        break;
    case WM_SETCURSOR:
        // Every window of the form asks here first (DefWindowProc asks the parent): while busy, the
        // hourglass over the inside and over every control; the frame keeps its sizing pointers.
        if (form->BusyPointer() && (reinterpret_cast<HWND>(wParam) != window || LOWORD(lParam) == HTCLIENT)) {
            SetCursor(LoadCursorW(nullptr, IDC_WAIT));
            return TRUE;
        }
        break;
    case WM_WINDOWPOSCHANGED:
        if (!host.Syncing() && form->Visible()) {
            ReportWindowChange(*form, window);
        }
        break;
    case WM_MOUSEMOVE:
        // Also the notification-area icon's callback, whose "position" is the mouse message.
        if (form->onMouseMove) {
            form->onMouseMove(ToTwips(GET_X_LPARAM(lParam), host.TwipsPerPixelX()));
        }
        return 0;
    case kDpiChanged:
        host.DpiChanged(*form, HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// What a window procedure answers for a message whose handler failed: a paint is taken as done (else it
// would come back at once), everything else as handled.
LRESULT AfterFailure(HWND window, UINT message) {
    if (message == WM_PAINT) {
        ValidateRect(window, nullptr);
    }
    return 0;
}

LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return Guarded(
        FailuresOf(FormOfWindow(window)), "form window", message,
        [&] { return FormMessage(window, message, wParam, lParam); },
        [&] { return AfterFailure(window, message); });
}

// The program's icon in a picture box, centred and as large as the box allows.
void PaintPicture(HDC dc, const RECT& client, const ui::Control& box, Win32UiHost& host) {
    const int size = std::min(client.right, client.bottom);
    if (HICON icon = size > 0 ? host.Icon(box.Picture(), size) : nullptr) {
        DrawIconEx(dc, (client.right - size) / 2, (client.bottom - size) / 2, icon, size, size, 0, nullptr,
                   DI_NORMAL);
    }
}

void PaintPane(HWND window, const ui::Control& pane, Win32UiHost& host) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    const auto back = InheritedBackColor(pane);
    if (pane.Type() == ui::ControlType::Shape) {
        // A shape draws only itself: what lies behind it shows through.
        HGDIOBJ oldBrush =
            SelectObject(dc, pane.BackColor() ? host.Brush(*back) : GetStockObject(NULL_BRUSH));
        HPEN pen = CreatePen(PS_SOLID, 1,
                             pane.ForeColor() ? ToColorRef(*pane.ForeColor()) : GetSysColor(COLOR_BTNSHADOW));
        HGDIOBJ oldPen = SelectObject(dc, pen);
        Ellipse(dc, client.left, client.top, client.right, client.bottom);
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBrush);
        DeleteObject(pen);
        EndPaint(window, &paint);
        return;
    }
    FillRect(dc, &client, back ? host.Brush(*back) : GetSysColorBrush(COLOR_BTNFACE));
    if (pane.Type() == ui::ControlType::PictureBox && !pane.Picture().empty()) {
        PaintPicture(dc, client, pane, host);
    }
    if (pane.Type() == ui::ControlType::Frame && !pane.Caption().empty()) {
        HGDIOBJ oldFont = SelectObject(dc, host.Font(pane.Bold(), pane.Italic()));
        const std::wstring caption = Widen(pane.Caption());
        SIZE text{};
        GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &text);
        RECT edge = client;
        edge.top += text.cy / 2;
        DrawEdge(dc, &edge, EDGE_ETCHED, BF_RECT);
        const int indent = MulDiv(8, host.Scale().dpiX, 96);
        RECT label{indent, 0, indent + text.cx + 4, text.cy};
        FillRect(dc, &label, back ? host.Brush(*back) : GetSysColorBrush(COLOR_BTNFACE));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, pane.ForeColor() ? ToColorRef(*pane.ForeColor()) : GetSysColor(COLOR_WINDOWTEXT));
        TextOutW(dc, indent + 2, 0, caption.c_str(), static_cast<int>(caption.size()));
        SelectObject(dc, oldFont);
    }
    EndPaint(window, &paint);
}

LRESULT PaneMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ui::Control* pane = ControlOfWindow(window);
    if (!pane) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    // Notifications of the controls inside go to the form, which knows them all.
    if (message == WM_COMMAND || message == WM_NOTIFY || IsControlColor(message)) {
        return SendMessageW(WindowOf(pane->Owner()), message, wParam, lParam);
    }
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        PaintPane(window, *pane, HostOf(pane->Owner()));
        return 0;
    case WM_LBUTTONUP:
        pane->Click();
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK PaneProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const ui::Control* pane = ControlOfWindow(window);
    return Guarded(
        FailuresOf(pane ? &pane->Owner() : nullptr), "pane window", message,
        [&] { return PaneMessage(window, message, wParam, lParam); },
        [&] { return AfterFailure(window, message); });
}

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

// A control's window is subclassed by replacing its procedure; the control and the window's own procedure
// ride in GWLP_USERDATA. SetWindowSubclass and window properties would cost a round trip to the
// wineserver on every message under Wine (about 80 us: forty times the work of inserting a list row).
struct HookedWindow {
    ui::Control* control;
    WNDPROC original;
};

// The button a mouse message presses; a second press of a double click presses it again.
std::optional<ui::MouseButton> PressedButton(UINT message) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        return ui::MouseButton::Left;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        return ui::MouseButton::Right;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        return ui::MouseButton::Middle;
    default:
        return std::nullopt;
    }
}

// A press on a control with a mouse-down handler. The handler runs before the control sees the press; a
// press it takes (it opened a modal box, say) never reaches the control, so a button neither captures
// the mouse nor clicks when the box has closed.
LRESULT OnControlPress(ui::Control& control, ui::MouseButton button, HWND window, UINT message, WPARAM wParam,
                       LPARAM lParam, WNDPROC original) {
    const TwipsScale& scale = HostOf(control.Owner()).Scale();
    const ui::MouseDown press{.button = button,
                              .shift = (wParam & MK_SHIFT) != 0,
                              .x = scale.XToTwips(GET_X_LPARAM(lParam)),
                              .y = scale.YToTwips(GET_Y_LPARAM(lParam))};
    if (!control.PressMouse(press)) {
        return 0;
    }
    return CallWindowProcW(original, window, message, wParam, lParam);
}

// Enter in a control: its key-down and character, and the dialog manager's question about it.
bool IsReturnKey(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN:
        return wParam == VK_RETURN;
    case WM_CHAR:
        return wParam == L'\r';
    case WM_GETDLGCODE: {
        const auto* asked = reinterpret_cast<const MSG*>(lParam);
        return asked && asked->message == WM_KEYDOWN && asked->wParam == VK_RETURN;
    }
    default:
        return false;
    }
}

LRESULT CALLBACK ControlHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* hooked = reinterpret_cast<HookedWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    const WNDPROC original = hooked->original;
    if (const auto button = PressedButton(message); button && hooked->control->onMouseDown) {
        ui::Control* control = hooked->control;
        return Guarded(
            FailuresOf(&control->Owner()), "control window", message,
            [&] { return OnControlPress(*control, *button, window, message, wParam, lParam, original); },
            [&] { return CallWindowProcW(original, window, message, wParam, lParam); });
    }
    if (message == WM_MOUSEMOVE) {
        ui::Control* control = hooked->control;
        // A failing handler leaves the control to behave as it would without it.
        return Guarded(
            FailuresOf(&control->Owner()), "control window", message,
            [&] {
                if (control->onMouseMove) {
                    control->onMouseMove();
                }
                return CallWindowProcW(original, window, message, wParam, lParam);
            },
            [&] { return CallWindowProcW(original, window, message, wParam, lParam); });
    }
    if (hooked->control->onKeyPress && IsReturnKey(message, wParam, lParam)) {
        ui::Control* control = hooked->control;
        return Guarded(
            FailuresOf(&control->Owner()), "control window", message,
            [&]() -> LRESULT {
                if (message == WM_GETDLGCODE) {
                    // The dialog manager hands Enter to the text box instead of the default button.
                    return CallWindowProcW(original, window, message, wParam, lParam) | DLGC_WANTMESSAGE;
                }
                // A key the handler takes never reaches the control (a single-line box would beep).
                if (message == WM_KEYDOWN && control->PressKey(ui::kKeyReturn)) {
                    return 0;
                }
                if (message == WM_CHAR && control->onKeyPress) {
                    return 0;
                }
                return CallWindowProcW(original, window, message, wParam, lParam);
            },
            [&] { return CallWindowProcW(original, window, message, wParam, lParam); });
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        delete hooked;
    }
    return CallWindowProcW(original, window, message, wParam, lParam);
}

} // namespace

void RegisterWindowClasses(HICON bigIcon, HICON smallIcon, FailureReport& failures) {
    WNDCLASSEXW form{};
    form.cbSize = sizeof(form);
    form.style = CS_DBLCLKS;
    form.lpfnWndProc = FormProc;
    form.hInstance = GetModuleHandleW(nullptr);
    form.hIcon = bigIcon;
    form.hIconSm = smallIcon;
    form.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    form.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    form.lpszClassName = kFormClass;

    WNDCLASSEXW pane = form;
    pane.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    pane.lpfnWndProc = PaneProc;
    pane.hIcon = nullptr;
    pane.hIconSm = nullptr;
    pane.hbrBackground = nullptr;
    pane.lpszClassName = kPaneClass;

    WNDCLASSEXW owner = form;
    owner.lpfnWndProc = OwnerProc;
    owner.lpszClassName = kOwnerClass;

    for (const WNDCLASSEXW* windowClass : {&form, &pane, &owner}) {
        // A second host in the same process finds the classes of the first still registered.
        if (!RegisterClassExW(windowClass)) {
            const DWORD error = GetLastError();
            if (error != ERROR_CLASS_ALREADY_EXISTS) {
                failures.CallFailed("RegisterClassExW", Narrow(windowClass->lpszClassName), error);
            }
        }
    }
}

void UnregisterWindowClasses() {
    // Fails, harmlessly, while another host still has windows of a class.
    for (const wchar_t* name : {kFormClass, kPaneClass, kOwnerClass}) {
        UnregisterClassW(name, GetModuleHandleW(nullptr));
    }
}

void HookControlWindow(HWND window, ui::Control& control) {
    auto* hooked = new HookedWindow{&control, nullptr};
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(hooked));
    hooked->original = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ControlHook)));
}

ui::Control* ControlOfWindow(HWND window) {
    // Only our hooked windows carry a HookedWindow; any other window's user data is not ours to read.
    if (!window || GetWindowLongPtrW(window, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(ControlHook)) {
        return nullptr;
    }
    return reinterpret_cast<HookedWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA))->control;
}

} // namespace grimsweep::win32
