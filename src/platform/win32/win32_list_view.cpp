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

void SetText(HWND list, std::size_t row, std::size_t subItem, const std::string& text) {
    std::wstring wide = Widen(text);
    LVITEMW item{};
    item.iSubItem = static_cast<int>(subItem);
    item.pszText = wide.data();
    SendMessageW(list, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
}

void SetCheck(HWND list, std::size_t row, bool checked) {
    LVITEMW item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

// Text and icon of the item itself, inserted as row `index` or set on it.
void WriteItem(HWND list, UINT message, std::size_t index, const ui::ListRow& row) {
    std::wstring text = Widen(row.text);
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = static_cast<int>(index);
    item.pszText = text.data();
    item.iImage = row.smallIcon > 0 ? row.smallIcon - 1 : I_IMAGENONE;
    SendMessageW(list, message, 0, reinterpret_cast<LPARAM>(&item));
}

// A new row: its sub-items start empty and its check box unticked.
void InsertRow(HWND list, std::size_t index, const ui::ListRow& row, const ListMirror& mirror) {
    WriteItem(list, LVM_INSERTITEMW, index, row);
    for (std::size_t n = 1; n < mirror.columns.size(); ++n) {
        if (!row.SubItem(n).empty()) {
            SetText(list, index, n, row.SubItem(n));
        }
    }
    if (mirror.checkBoxes && row.checked) {
        SetCheck(list, index, true);
    }
}

void RewriteRow(HWND list, std::size_t index, const ui::ListRow& row, const ListMirror& mirror) {
    WriteItem(list, LVM_SETITEMW, index, row);
    for (std::size_t n = 1; n < mirror.columns.size(); ++n) {
        SetText(list, index, n, row.SubItem(n));
    }
    if (mirror.checkBoxes) {
        SetCheck(list, index, row.checked);
    }
}

// Drawing stops while many rows change and resumes once after them. Only a window that shows stops:
// switching drawing back on may show a window.
void StopDrawing(HWND list, ListMirror& mirror) {
    if (!mirror.drawingOff && (GetWindowLongPtrW(list, GWL_STYLE) & WS_VISIBLE)) {
        SendMessageW(list, WM_SETREDRAW, FALSE, 0);
        mirror.drawingOff = true;
    }
}

void ResumeDrawing(HWND list, const ui::Control& control, ListMirror& mirror) {
    if (!mirror.drawingOff) {
        return;
    }
    mirror.drawingOff = false;
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    if (control.Visible()) {
        InvalidateRect(list, nullptr, TRUE);
    } else {
        ShowWindow(list, SW_HIDE); // hidden while drawing was off
    }
}

} // namespace

void SyncListView(HWND list, const ui::Control& control, ListMirror& mirror, const TwipsScale& scale) {
    const ui::ListRows& rows = control.Rows();
    const bool sameRows = static_cast<std::size_t>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)) == rows.size();
    if (control.CheckBoxes() != mirror.checkBoxes) {
        SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES,
                     control.CheckBoxes() ? LVS_EX_CHECKBOXES : 0);
        mirror.checkBoxes = control.CheckBoxes();
        // Every row's mark is written again: the boxes may come back with their state from before.
        for (std::size_t i = 0; mirror.checkBoxes && sameRows && i < rows.size(); ++i) {
            SetCheck(list, i, rows[i].checked);
        }
    }
    if (!SameColumns(control.Columns(), mirror.columns)) {
        const std::size_t shown = mirror.columns.size();
        SetColumns(list, control, mirror, scale);
        for (std::size_t n = std::max<std::size_t>(shown, 1); sameRows && n < mirror.columns.size(); ++n) {
            for (std::size_t i = 0; i < rows.size(); ++i) {
                if (!rows[i].SubItem(n).empty()) {
                    SetText(list, i, n, rows[i].SubItem(n));
                }
            }
        }
    }
    if (!sameRows) {
        const bool wasOff = mirror.drawingOff;
        StopDrawing(list, mirror);
        SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            InsertRow(list, i, rows[i], mirror);
        }
        if (!wasOff) {
            ResumeDrawing(list, control, mirror);
        }
    }
}

void ApplyRowChange(HWND list, const ui::Control& control, ListMirror& mirror, const ui::RowChange& change) {
    const ui::ListRows& rows = control.Rows();
    switch (change.kind) {
    case ui::RowChangeKind::Added:
        for (std::size_t i = change.first; i < change.first + change.count && i < rows.size(); ++i) {
            InsertRow(list, i, rows[i], mirror);
        }
        break;
    case ui::RowChangeKind::Removed:
        // The last row first: fewer rows move up in the window's own array.
        for (std::size_t k = change.count; k > 0; --k) {
            SendMessageW(list, LVM_DELETEITEM, change.first + k - 1, 0);
        }
        break;
    case ui::RowChangeKind::Changed:
        if (change.first < rows.size()) {
            RewriteRow(list, change.first, rows[change.first], mirror);
        }
        break;
    case ui::RowChangeKind::Cleared:
        SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
        break;
    case ui::RowChangeKind::UpdateBegin:
        StopDrawing(list, mirror);
        break;
    case ui::RowChangeKind::UpdateEnd:
        ResumeDrawing(list, control, mirror);
        break;
    }
}

std::optional<RowCheck> CheckFromNotification(const NMLISTVIEW& change, std::size_t rows) {
    if (change.hdr.code != LVN_ITEMCHANGED || !(change.uChanged & LVIF_STATE) || change.iItem < 0 ||
        static_cast<std::size_t>(change.iItem) >= rows ||
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
