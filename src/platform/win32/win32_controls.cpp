#include "platform/win32/win32_controls.h"

#include <commctrl.h>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_form_window.h"
#include "platform/win32/win32_menus.h"
#include "platform/win32/win32_ui_host.h"
#include "ui/form.h"

namespace grimsweep::win32 {

namespace {

constexpr int kFirstControlId = 1000;
// Lines of a combo box's drop-down list.
constexpr int kComboListLines = 10;

bool IsPane(ui::ControlType type) {
    return type == ui::ControlType::Frame || type == ui::ControlType::PictureBox;
}

bool HasWindow(ui::ControlType type) {
    return type != ui::ControlType::Menu && type != ui::ControlType::Timer;
}

// The window a control lies in (its nearest frame or picture box, else the form) and its offset there
// in twips: containers that are no windows (a tab strip) add their own position.
HWND ParentWindow(const ui::Control& control, POINT& offsetTwips, bool& shown) {
    offsetTwips = {0, 0};
    shown = control.Visible();
    for (const ui::Control* c = control.Container(); c; c = c->Container()) {
        if (IsPane(c->Type())) {
            return WindowOf(*c);
        }
        offsetTwips.x += c->Position().left;
        offsetTwips.y += c->Position().top;
        shown = shown && c->Visible();
    }
    return WindowOf(control.Owner());
}

struct WindowKind {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};

WindowKind KindOf(const ui::Control& control) {
    using ui::ControlType;
    switch (control.Type()) {
    case ControlType::Label:
    case ControlType::SkinLabel:
        return {L"STATIC", SS_LEFT | SS_NOTIFY, 0};
    case ControlType::CommandButton:
        return {L"BUTTON", BS_PUSHBUTTON | BS_MULTILINE | WS_TABSTOP, 0};
    case ControlType::CheckBox:
        return {L"BUTTON", BS_AUTOCHECKBOX | BS_MULTILINE | WS_TABSTOP, 0};
    case ControlType::OptionButton:
        // Not an automatic radio button: the model clears the other options of the group itself.
        return {L"BUTTON", BS_RADIOBUTTON | BS_MULTILINE | WS_TABSTOP, 0};
    case ControlType::Frame:
    case ControlType::PictureBox:
        return {kPaneClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT};
    case ControlType::Shape:
        return {kPaneClass, WS_DISABLED, WS_EX_TRANSPARENT};
    case ControlType::TextBox: {
        DWORD style = WS_TABSTOP | (control.Locked() ? ES_READONLY : 0);
        style |= control.MultiLine() ? ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL : ES_AUTOHSCROLL;
        return {L"EDIT", style, WS_EX_CLIENTEDGE};
    }
    case ControlType::ComboBox:
        return {L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0};
    case ControlType::ListView:
        return {WC_LISTVIEWW, LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS | WS_TABSTOP,
                WS_EX_CLIENTEDGE};
    case ControlType::TabStrip:
        return {WC_TABCONTROLW, WS_TABSTOP, 0};
    case ControlType::ProgressBar:
        return {PROGRESS_CLASSW, 0, 0};
    case ControlType::DatePicker:
        return {DATETIMEPICK_CLASSW, DTS_SHOWNONE | DTS_SHORTDATEFORMAT | WS_TABSTOP, 0};
    case ControlType::TimePicker:
        return {DATETIMEPICK_CLASSW, DTS_SHOWNONE | DTS_TIMEFORMAT | WS_TABSTOP, 0};
    case ControlType::Menu:
    case ControlType::Timer:
        break;
    }
    return {L"STATIC", 0, 0};
}

void SetFont(Win32UiHost& host, HWND window, const ui::Control& control) {
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(host.Font(control.Bold(), control.Italic())),
                 TRUE);
}

void SetValue(HWND window, const ui::Control& control) {
    using ui::ControlType;
    switch (control.Type()) {
    case ControlType::CheckBox:
    case ControlType::OptionButton:
        SendMessageW(window, BM_SETCHECK, control.Value() ? BST_CHECKED : BST_UNCHECKED, 0);
        break;
    case ControlType::ProgressBar:
        SendMessageW(window, PBM_SETRANGE32, 0, control.Max());
        SendMessageW(window, PBM_SETPOS, static_cast<WPARAM>(control.Value()), 0);
        break;
    case ControlType::DatePicker:
    case ControlType::TimePicker:
        if (const auto& date = control.DateValue()) {
            SYSTEMTIME time{};
            time.wYear = static_cast<WORD>(date->year);
            time.wMonth = static_cast<WORD>(date->month);
            time.wDay = static_cast<WORD>(date->day);
            time.wHour = static_cast<WORD>(date->hour);
            time.wMinute = static_cast<WORD>(date->minute);
            time.wSecond = static_cast<WORD>(date->second);
            time.wDayOfWeek = static_cast<WORD>(date->dayOfWeek);
            SendMessageW(window, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
        } else {
            SendMessageW(window, DTM_SETSYSTEMTIME, GDT_NONE, 0);
        }
        break;
    default:
        break;
    }
}

void SetItems(Win32UiHost& host, HWND window, ui::Control& control) {
    using ui::ControlType;
    switch (control.Type()) {
    case ControlType::ComboBox:
        SendMessageW(window, CB_RESETCONTENT, 0, 0);
        for (const auto& item : control.Items()) {
            SendMessageW(window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
        }
        SendMessageW(window, CB_SETCURSEL, static_cast<WPARAM>(control.ListIndex()), 0);
        break;
    case ControlType::TabStrip: {
        const int shown = static_cast<int>(SendMessageW(window, TCM_GETITEMCOUNT, 0, 0));
        const auto& tabs = control.Tabs();
        for (int i = 0; i < static_cast<int>(tabs.size()); ++i) {
            std::wstring caption = Widen(tabs[static_cast<std::size_t>(i)]);
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = caption.data();
            SendMessageW(window, i < shown ? TCM_SETITEMW : TCM_INSERTITEMW, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(&item));
        }
        for (int i = shown; i > static_cast<int>(tabs.size()); --i) {
            SendMessageW(window, TCM_DELETEITEM, static_cast<WPARAM>(i - 1), 0);
        }
        SendMessageW(window, TCM_SETCURSEL, static_cast<WPARAM>(control.SelectedTab() - 1), 0);
        break;
    }
    case ControlType::ListView:
        SyncListView(window, control, host.Mirror(control), host.Scale());
        break;
    default:
        break;
    }
}

void SetSelection(HWND window, const ui::Control& control) {
    if (control.Type() == ui::ControlType::ComboBox) {
        SendMessageW(window, CB_SETCURSEL, static_cast<WPARAM>(control.ListIndex()), 0);
    } else if (control.Type() == ui::ControlType::TabStrip) {
        SendMessageW(window, TCM_SETCURSEL, static_cast<WPARAM>(control.SelectedTab() - 1), 0);
    }
}

void SetColors(const ui::Control& control, HWND window) {
    if (control.Type() == ui::ControlType::ListView) {
        if (control.BackColor()) {
            SendMessageW(window, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(ToColorRef(*control.BackColor())));
            SendMessageW(window, LVM_SETTEXTBKCOLOR, 0,
                         static_cast<LPARAM>(ToColorRef(*control.BackColor())));
        }
        if (control.ForeColor()) {
            SendMessageW(window, LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(ToColorRef(*control.ForeColor())));
        }
    }
    InvalidateRect(window, nullptr, TRUE);
}

void SetCaption(HWND window, const ui::Control& control) {
    using ui::ControlType;
    if (control.Type() == ControlType::ComboBox || control.Type() == ControlType::ListView ||
        control.Type() == ControlType::TabStrip || control.Type() == ControlType::ProgressBar) {
        return;
    }
    const std::wstring caption = Widen(control.Caption());
    // A text box's own edits come back as a caption change: leave the caret where it is.
    if (control.Type() == ControlType::TextBox) {
        const int length = GetWindowTextLengthW(window);
        std::wstring shown(static_cast<std::size_t>(length) + 1, L'\0');
        GetWindowTextW(window, shown.data(), length + 1);
        shown.resize(static_cast<std::size_t>(length));
        if (shown == caption) {
            return;
        }
    }
    SetWindowTextW(window, caption.c_str());
    if (control.Type() == ControlType::Frame || control.Type() == ControlType::PictureBox) {
        InvalidateRect(window, nullptr, TRUE);
    }
}

} // namespace

int ControlId(const ui::Control& control) {
    const auto& controls = control.Owner().Controls();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (controls[i].get() == &control) {
            return kFirstControlId + static_cast<int>(i);
        }
    }
    return 0;
}

ui::Control* ControlFromId(const ui::Form& form, WPARAM id) {
    const auto& controls = form.Controls();
    if (id < static_cast<WPARAM>(kFirstControlId) || id - kFirstControlId >= controls.size()) {
        return nullptr;
    }
    return controls[id - kFirstControlId].get();
}

HWND WindowOf(const ui::Form& form) {
    return reinterpret_cast<HWND>(form.hostHandle);
}
HWND WindowOf(const ui::Control& control) {
    return reinterpret_cast<HWND>(control.hostHandle);
}

COLORREF ToColorRef(std::uint32_t color) {
    if (color & 0x80000000u) {
        return GetSysColor(static_cast<int>(color & 0xFFu));
    }
    return static_cast<COLORREF>(color & 0xFFFFFFu);
}

std::optional<COLORREF> InheritedBackColor(const ui::Control& control) {
    for (const ui::Control* c = &control; c; c = c->Container()) {
        if (c->BackColor()) {
            return ToColorRef(*c->BackColor());
        }
    }
    return std::nullopt;
}

void ArmTimer(const ui::Control& timer) {
    HWND form = WindowOf(timer.Owner());
    if (!form) {
        return;
    }
    const auto id = static_cast<UINT_PTR>(ControlId(timer));
    if (timer.Enabled() && timer.Interval() > 0) {
        SetTimer(form, id, static_cast<UINT>(timer.Interval()), nullptr);
    } else {
        KillTimer(form, id);
    }
}

void PlaceControlWindow(Win32UiHost& host, const ui::Control& control) {
    HWND window = WindowOf(control);
    if (!window) {
        return;
    }
    POINT offset{};
    bool shown = true;
    ParentWindow(control, offset, shown);
    const TwipsScale& scale = host.Scale();
    const ui::Bounds& b = control.Position();
    int height = scale.YToPixels(b.height);
    if (control.Type() == ui::ControlType::ComboBox) {
        // The window's height includes the drop-down list.
        height += kComboListLines * static_cast<int>(SendMessageW(window, CB_GETITEMHEIGHT, 0, 0));
    }
    SetWindowPos(window, nullptr, scale.XToPixels(offset.x + b.left), scale.YToPixels(offset.y + b.top),
                 scale.XToPixels(b.width), height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CreateControlWindow(Win32UiHost& host, ui::Control& control) {
    if (control.Type() == ui::ControlType::Timer) {
        ArmTimer(control);
        return;
    }
    if (!HasWindow(control.Type()) || control.hostHandle) {
        return;
    }
    for (ui::Control* c = control.Container(); c; c = c->Container()) {
        if (IsPane(c->Type()) && !c->hostHandle) {
            CreateControlWindow(host, *c);
        }
    }
    POINT offset{};
    bool shown = true;
    HWND parent = ParentWindow(control, offset, shown);
    if (!parent) {
        return;
    }
    const WindowKind kind = KindOf(control);
    const Win32UiHost::SyncGuard guard(host);
    HWND window =
        CreateWindowExW(kind.exStyle, kind.className, Widen(control.Caption()).c_str(),
                        WS_CHILD | WS_CLIPSIBLINGS | kind.style | (shown ? WS_VISIBLE : 0) |
                            (control.Enabled() ? 0 : WS_DISABLED),
                        0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(control))),
                        GetModuleHandleW(nullptr), nullptr);
    if (!window) {
        const DWORD error = GetLastError();
        host.Failures().CallFailed("CreateWindowExW",
                                   "control " + control.Name() + " of " + control.Owner().Name(), error);
        return;
    }
    control.hostHandle = reinterpret_cast<std::uintptr_t>(window);
    HookControlWindow(window, control);
    // Later controls lie above earlier ones: the pages of a tab strip cover the strip.
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetFont(host, window, control);
    if (control.Type() == ui::ControlType::ListView) {
        SendMessageW(window, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER,
                     LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
        SendMessageW(window, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(host.ListIcons()));
        SetColors(control, window);
    }
    PlaceControlWindow(host, control);
    SetItems(host, window, control);
    SetValue(window, control);
}

void UpdateControlWindow(Win32UiHost& host, ui::Control& control, ui::Change change) {
    if (control.Type() == ui::ControlType::Menu) {
        RebuildMenuBar(control.Owner());
        return;
    }
    if (control.Type() == ui::ControlType::Timer) {
        ArmTimer(control);
        return;
    }
    HWND window = WindowOf(control);
    if (!window) {
        return;
    }
    const Win32UiHost::SyncGuard guard(host);
    switch (change) {
    case ui::Change::Caption:
        SetCaption(window, control);
        break;
    case ui::Change::Enabled:
        EnableWindow(window, control.Enabled());
        break;
    case ui::Change::Visible: {
        POINT offset{};
        bool shown = true;
        ParentWindow(control, offset, shown);
        ShowWindow(window, shown ? SW_SHOWNA : SW_HIDE);
        break;
    }
    case ui::Change::Position:
        PlaceControlWindow(host, control);
        break;
    case ui::Change::Value:
        SetValue(window, control);
        break;
    case ui::Change::Style:
        SetFont(host, window, control);
        SetColors(control, window);
        break;
    case ui::Change::Rows:
        SetItems(host, window, control);
        break;
    case ui::Change::Selection:
        SetSelection(window, control);
        break;
    case ui::Change::Timer:
        break;
    }
}

} // namespace grimsweep::win32
