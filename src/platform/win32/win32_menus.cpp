#include "platform/win32/win32_menus.h"

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_controls.h"

namespace grimsweep::win32 {

namespace {

bool IsMenu(const ui::Control& control) {
    return control.Type() == ui::ControlType::Menu;
}

bool HasItems(const ui::Form& form, const ui::Control& menu) {
    for (const auto& control : form.Controls()) {
        if (IsMenu(*control) && control->Container() == &menu) {
            return true;
        }
    }
    return false;
}

void AppendItem(HMENU target, const ui::Form& form, const ui::Control& item) {
    if (item.Separator() || item.Caption() == "-") {
        AppendMenuW(target, MF_SEPARATOR, 0, nullptr);
        return;
    }
    const UINT state = item.Enabled() ? MF_ENABLED : MF_GRAYED;
    const std::wstring caption = Widen(item.Caption());
    if (HasItems(form, item)) {
        AppendMenuW(target, MF_POPUP | state, reinterpret_cast<UINT_PTR>(BuildPopupMenu(form, item)),
                    caption.c_str());
    } else {
        AppendMenuW(target, MF_STRING | state, static_cast<UINT_PTR>(ControlId(item)), caption.c_str());
    }
}

} // namespace

HMENU BuildPopupMenu(const ui::Form& form, const ui::Control& menu) {
    HMENU popup = CreatePopupMenu();
    for (const auto& control : form.Controls()) {
        if (IsMenu(*control) && control->Container() == &menu && control->Visible()) {
            AppendItem(popup, form, *control);
        }
    }
    return popup;
}

void RebuildMenuBar(ui::Form& form) {
    HWND window = WindowOf(form);
    if (!window) {
        return;
    }
    HMENU bar = nullptr;
    for (const auto& control : form.Controls()) {
        if (IsMenu(*control) && !control->Container() && control->Visible()) {
            if (!bar) {
                bar = CreateMenu();
            }
            AppendItem(bar, form, *control);
        }
    }
    HMENU old = GetMenu(window);
    SetMenu(window, bar);
    if (old) {
        DestroyMenu(old);
    }
    DrawMenuBar(window);
}

} // namespace grimsweep::win32
