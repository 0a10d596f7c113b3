// Report-view list controls mirroring a ListView control of the model: columns, rows, sub-items, small
// icons and check marks. Rows follow the model change by change (insert, delete, set one row, delete
// all), so that filling or emptying a list costs the same for every row whatever the list's length.
#pragma once

#include <optional>
#include <vector>

#include "platform/win32/win32_dpi.h"
#include "platform/win32/windows_api.h"
#include "ui/control.h"

#include <commctrl.h>

namespace grimsweep::win32 {

// What the window shows of the columns and the check-box style, so that an update touches only what
// changed, and whether drawing is off for an update of many rows.
struct ListMirror {
    std::vector<ui::ListColumn> columns;
    bool checkBoxes = false;
    bool drawingOff = false;
};

// Brings the window's check boxes and columns up to the model (new columns get their rows' sub-items),
// and writes every row when the window does not hold as many rows as the model (a new window). The
// caller keeps notifications away from the model while it runs (inserting rows raises item-changed
// notifications).
void SyncListView(HWND list, const ui::Control& control, ListMirror& mirror, const TwipsScale& scale);

// Applies one row change of the model to the window; the same rule on notifications holds.
void ApplyRowChange(HWND list, const ui::Control& control, ListMirror& mirror, const ui::RowChange& change);

// A user's tick or untick in the window: the row and its new check mark, if the notification is one.
struct RowCheck {
    std::size_t row = 0;
    bool checked = false;
};
std::optional<RowCheck> CheckFromNotification(const NMLISTVIEW& change, std::size_t rows);

} // namespace grimsweep::win32
