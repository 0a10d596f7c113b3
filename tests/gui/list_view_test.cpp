// The real list view follows the model change by change: after any mix of row operations it shows the
// model's rows (text, sub-items, icons, check marks) in the model's order, a hidden list stays hidden
// through an update of many rows, and a tick in the window reaches the row the model has at that place.
#include "platform/win32/windows_api.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_ui_host.h"
#include "screenshot.h"
#include "ui/form.h"

namespace grimsweep::win32 {
namespace {

using ui::ControlType;

HWND Hwnd(const ui::Control& control) {
    return reinterpret_cast<HWND>(control.hostHandle);
}

// One row as the window shows it, in the form Describe gives a model row.
std::string Shown(HWND list, int row, std::size_t columns, bool checkBoxes) {
    std::string shown;
    for (std::size_t n = 0; n < columns; ++n) {
        wchar_t text[256] = L"";
        LVITEMW item{};
        item.iSubItem = static_cast<int>(n);
        item.pszText = text;
        item.cchTextMax = 256;
        SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        shown += Narrow(text) + "|";
    }
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    shown += "icon " + std::to_string(item.iImage == I_IMAGENONE ? 0 : item.iImage + 1);
    if (checkBoxes) {
        const UINT image = (static_cast<UINT>(SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row),
                                                           LVIS_STATEIMAGEMASK)) &
                            LVIS_STATEIMAGEMASK) >>
                           12;
        shown += image == 2 ? " ticked" : image == 1 ? " unticked" : " no box";
    }
    return shown;
}

std::string Describe(const ui::ListRow& row, std::size_t columns, bool checkBoxes) {
    std::string text = row.text + "|";
    for (std::size_t n = 1; n < columns; ++n) {
        text += row.SubItem(n) + "|";
    }
    text += "icon " + std::to_string(row.smallIcon);
    if (checkBoxes) {
        text += row.checked ? " ticked" : " unticked";
    }
    return text;
}

void ExpectWindowShowsModel(const ui::Control& list, const char* stage) {
    HWND window = Hwnd(list);
    const std::size_t columns = list.Columns().size();
    std::vector<std::string> shown;
    std::vector<std::string> model;
    const int count = static_cast<int>(SendMessageW(window, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        shown.push_back(Shown(window, i, columns, list.CheckBoxes()));
    }
    for (const auto& row : list.Rows()) {
        model.push_back(Describe(row, columns, list.CheckBoxes()));
    }
    EXPECT_EQ(shown, model) << stage;
}

ui::ListRow Finding(int i, bool checked) {
    return {"Finding " + std::to_string(i),
            {i % 2 ? "File" : "Registry entry", "C:\\Place" + std::to_string(i)},
            i % 6,
            checked};
}

std::vector<ui::ListRow> Findings(int first, int count) {
    std::vector<ui::ListRow> rows;
    for (int i = first; i < first + count; ++i) {
        rows.push_back(Finding(i, i % 3 == 0));
    }
    return rows;
}

void Pump(Win32UiHost& host, int milliseconds = 100) {
    const auto end = GetTickCount64() + static_cast<ULONGLONG>(milliseconds);
    do {
        host.PumpMessages();
        Sleep(10);
    } while (GetTickCount64() < end);
}

TEST(ListViewGui, TheWindowShowsTheModelsRowsThroughAMixOfOperations) {
    Win32UiHost host;
    ui::Form form(host, "frmList");
    form.SetCaption("List rows");
    form.Move(600, 600, 9600, 6600);
    ui::Control& frame = form.Add("frmResults", ControlType::Frame);
    frame.Move(120, 120, 9000, 5400);
    ui::Control& list = form.Add("lvwResults", ControlType::ListView, &frame);
    list.Move(120, 240, 8700, 4900);
    list.SetCheckBoxes(true);
    list.AddColumn("Item", 3000);
    list.AddColumn("Kind", 2000);
    list.AddRows(Findings(0, 5)); // before the window exists
    std::vector<std::size_t> ticks;
    list.onItemCheck = [&](std::size_t row) { ticks.push_back(row); };
    form.Show();
    Pump(host);
    ExpectWindowShowsModel(list, "a new window");

    list.AddRow(Finding(5, true));
    list.AddRows(Findings(6, 200));
    list.SetSubItem(3, 1, "Folder");
    list.SetRowChecked(4, true);
    list.RemoveRow(100);
    list.RemoveRow(0);
    ExpectWindowShowsModel(list, "rows added, changed and removed one by one");

    list.RemoveRowsIf([](const ui::ListRow& row) { return row.checked; });
    ExpectWindowShowsModel(list, "the ticked rows removed");

    // A later column shows the sub-items the rows already have.
    list.AddColumn("Location", 3000);
    ExpectWindowShowsModel(list, "a column added");

    // A user's tick on the window reaches the row now at that place; the program's own changes raise none.
    ASSERT_EQ(ticks, (std::vector<std::size_t>{4}));
    const std::string third = list.Rows()[2].text;
    ListView_SetCheckState(Hwnd(list), 2, TRUE);
    Pump(host);
    EXPECT_EQ(ticks, (std::vector<std::size_t>{4, 2}));
    EXPECT_TRUE(list.Rows()[2].checked) << third;

    list.BeginRowUpdate();
    for (int i = 0; i < 50; ++i) {
        list.RemoveRow(list.Rows().size() / 2);
        list.AddRow(Finding(1000 + i, i % 2 == 0));
    }
    list.EndRowUpdate();
    Pump(host);
    ExpectWindowShowsModel(list, "an update of many rows");
    EXPECT_TRUE(gui::SaveWindowPng(reinterpret_cast<HWND>(form.hostHandle), "gui_list_rows.png"));

    list.ClearRows();
    list.AddRows(Findings(0, 3));
    ExpectWindowShowsModel(list, "cleared and filled again");
    EXPECT_EQ(ticks.size(), 2u);
    form.Unload();
}

TEST(ListViewGui, AHiddenListStaysHiddenThroughAnUpdateOfManyRows) {
    Win32UiHost host;
    ui::Form form(host, "frmHidden");
    form.Move(600, 600, 6000, 4500);
    ui::Control& hidden = form.Add("lvwHiddenRegistry", ControlType::ListView);
    hidden.Move(120, 120, 5000, 3000);
    hidden.AddColumn("Item", 3000);
    hidden.SetVisible(false);
    ui::Control& shown = form.Add("lvwShown", ControlType::ListView);
    shown.Move(120, 120, 5000, 3000);
    shown.AddColumn("Item", 3000);
    form.Show();
    Pump(host);

    hidden.AddRows(Findings(0, 100));
    hidden.RemoveRowsIf([](const ui::ListRow& row) { return row.smallIcon == 1; });
    shown.AddRows(Findings(0, 100));
    Pump(host);
    EXPECT_FALSE(IsWindowVisible(Hwnd(hidden)));
    EXPECT_TRUE(IsWindowVisible(Hwnd(shown)));
    ExpectWindowShowsModel(hidden, "the hidden list");
    ExpectWindowShowsModel(shown, "the shown list");
    form.Unload();
}

} // namespace
} // namespace grimsweep::win32
