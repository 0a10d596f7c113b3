// Report-view list controls mirroring a ListView control of the model: columns, rows, sub-items, small
// icons and check marks, updated row by row from what the window shows now.
#pragma once

#include <optional>
#include <vector>

#include "platform/win32/win32_dpi.h"
#include "platform/win32/windows_api.h"
#include "ui/control.h"

#include <commctrl.h>

namespace grimsweep::win32 {

// What the window shows, so that an update touches only the rows that changed.
struct ListMirror {
    std::vector<ui::ListColumn> columns;
    std::vector<ui::ListRow> rows;
    bool checkBoxes = false;
};

// Brings the window up to the model's columns and rows. The caller keeps notifications away from the
// model while it runs (inserting rows raises item-changed notifications).
void SyncListView(HWND list, const ui::Control& control, ListMirror& mirror, const TwipsScale& scale);

// A user's tick or untick in the window: the row and its new check mark, if the notification is one.
struct RowCheck {
    std::size_t row = 0;
    bool checked = false;
};
std::optional<RowCheck> CheckFromNotification(const NMLISTVIEW& change, const ListMirror& mirror);

} // namespace grimsweep::win32
