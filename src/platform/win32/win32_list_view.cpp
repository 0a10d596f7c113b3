#include "platform/win32/win32_list_view.h"

#include <algorithm>

#include "platform/win32/wide_text.h"

namespace grimsweep::win32 {

namespace {

bool SameColumns(const std::vector<ui::ListColumn>& a, const std::vector<ui::ListColumn>& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].caption != b[i].caption || a[i].width != b[i].width) {
            return false;
        }
    }
    return true;
}

void SetColumns(HWND list, const ui::Control& control, ListMirror& mirror, const TwipsScale& scale) {
    const auto& columns = control.Columns();
    // Columns that only changed width keep their rows.
    const std::size_t shown = mirror.columns.size();
    for (std::size_t i = 0; i < columns.size(); ++i) {
        std::wstring caption = Widen(columns[i].caption);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = caption.data();
        column.cx = scale.XToPixels(columns[i].width);
        column.iSubItem = static_cast<int>(i);
        if (i < shown) {
            SendMessageW(list, LVM_SETCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
        } else {
            SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
        }
    }
    for (std::size_t i = shown; i > columns.size(); --i) {
        SendMessageW(list, LVM_DELETECOLUMN, i - 1, 0);
    }
    mirror.columns = columns;
}

void SetText(HWND list, int row, int subItem, const std::string& text) {
    std::wstring wide = Widen(text);
    LVITEMW item{};
    item.iSubItem = subItem;
    item.pszText = wide.data();
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void SetIcon(HWND list, int row, int icon) {
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    item.iImage = icon > 0 ? icon - 1 : I_IMAGENONE;
    SendMessageW(list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

void SetCheck(HWND list, int row, bool checked) {
    LVITEMW item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void WriteRow(HWND list, int index, const ui::ListRow& row, const ui::ListRow* shown, std::size_t columns,
              bool checkBoxes) {
    if (!shown || shown->text != row.text) {
        SetText(list, index, 0, row.text);
    }
    const std::size_t subItems = std::max(columns, row.subItems.size() + 1);
    for (std::size_t n = 1; n < subItems; ++n) {
        if (!shown || shown->SubItem(n) != row.SubItem(n)) {
            SetText(list, index, static_cast<int>(n), row.SubItem(n));
        }
    }
    if (!shown || shown->smallIcon != row.smallIcon) {
        SetIcon(list, index, row.smallIcon);
    }
    if (checkBoxes && (!shown || shown->checked != row.checked)) {
        SetCheck(list, index, row.checked);
    }
}

} // namespace

void SyncListView(HWND list, const ui::Control& control, ListMirror& mirror, const TwipsScale& scale) {
    if (control.CheckBoxes() != mirror.checkBoxes) {
        SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES,
                     control.CheckBoxes() ? LVS_EX_CHECKBOXES : 0);
        mirror.checkBoxes = control.CheckBoxes();
        // Fresh check boxes start unticked: every row's mark is written again.
        for (auto& row : mirror.rows) {
            row.checked = !row.checked;
        }
    }
    if (!SameColumns(control.Columns(), mirror.columns)) {
        SetColumns(list, control, mirror, scale);
    }
    const auto& rows = control.Rows();
    const bool redraw = rows.size() > mirror.rows.size() + 16 || rows.size() + 16 < mirror.rows.size();
    if (redraw) {
        SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    }
    // Rows removed in the middle shift the rest: a removed row is found by comparing with what follows.
    if (rows.size() < mirror.rows.size()) {
        std::size_t i = 0;
        while (i < rows.size() && i < mirror.rows.size() && rows[i].text == mirror.rows[i].text &&
               rows[i].subItems == mirror.rows[i].subItems) {
            ++i;
        }
        const std::size_t removed = mirror.rows.size() - rows.size();
        for (std::size_t k = 0; k < removed; ++k) {
            SendMessageW(list, LVM_DELETEITEM, i, 0);
        }
        mirror.rows.erase(mirror.rows.begin() + static_cast<std::ptrdiff_t>(i),
                          mirror.rows.begin() + static_cast<std::ptrdiff_t>(i + removed));
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (i < mirror.rows.size()) {
            const ui::ListRow& shown = mirror.rows[i];
            if (shown.text != rows[i].text || shown.subItems != rows[i].subItems ||
                shown.smallIcon != rows[i].smallIcon || shown.checked != rows[i].checked) {
                WriteRow(list, static_cast<int>(i), rows[i], &shown, control.Columns().size(),
                         mirror.checkBoxes);
                mirror.rows[i] = rows[i];
            }
            continue;
        }
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(i);
        std::wstring text = Widen(rows[i].text);
        item.pszText = text.data();
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        ui::ListRow blank;
        blank.text = rows[i].text;
        blank.checked = !rows[i].checked; // forces the mark to be written
        blank.smallIcon = -1;
        WriteRow(list, static_cast<int>(i), rows[i], &blank, control.Columns().size(), mirror.checkBoxes);
        mirror.rows.push_back(rows[i]);
    }
    if (redraw) {
        SendMessageW(list, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list, nullptr, TRUE);
    }
}

std::optional<RowCheck> CheckFromNotification(const NMLISTVIEW& change, const ListMirror& mirror) {
    if (change.hdr.code != LVN_ITEMCHANGED || !(change.uChanged & LVIF_STATE) || change.iItem < 0 ||
        static_cast<std::size_t>(change.iItem) >= mirror.rows.size() ||
        !((change.uNewState ^ change.uOldState) & LVIS_STATEIMAGEMASK)) {
        return std::nullopt;
    }
    const UINT image = (change.uNewState & LVIS_STATEIMAGEMASK) >> 12;
    if (image != 1 && image != 2) {
        return std::nullopt; // no check box yet
    }
    return RowCheck{static_cast<std::size_t>(change.iItem), image == 2};
}

} // namespace grimsweep::win32
