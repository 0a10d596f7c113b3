// List rows change by change: what the model keeps after additions and removals, and the row changes a
// host receives, which must be enough to keep a copy of the rows equal to the model's.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "ui/form.h"
#include "ui/headless_host.h"

namespace grimsweep::ui {
namespace {

// Keeps every row change it is told of, and a copy of the rows built from those changes alone, the way
// the Win32 list view follows the model.
class MirrorHost : public HeadlessHost {
public:
    // A new window starts with the rows the list has then (one list per form here).
    void FormLoaded(Form& form) override {
        HeadlessHost::FormLoaded(form);
        for (const auto& control : form.Controls()) {
            if (control->Type() == ControlType::ListView) {
                rows.assign(control->Rows().begin(), control->Rows().end());
            }
        }
    }

    void ListRowsChanged(Control& list, const RowChange& change) override {
        changes.push_back(change);
        switch (change.kind) {
        case RowChangeKind::Added:
            for (std::size_t i = change.first; i < change.first + change.count; ++i) {
                rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(i), list.Rows().at(i));
            }
            break;
        case RowChangeKind::Removed:
            rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(change.first),
                       rows.begin() + static_cast<std::ptrdiff_t>(change.first + change.count));
            break;
        case RowChangeKind::Changed:
            rows.at(change.first) = list.Rows().at(change.first);
            break;
        case RowChangeKind::Cleared:
            rows.clear();
            break;
        case RowChangeKind::UpdateBegin:
            ++updates;
            break;
        case RowChangeKind::UpdateEnd:
            --updates;
            break;
        }
    }

    std::vector<RowChange> changes;
    std::vector<ListRow> rows;
    int updates = 0;
};

ListRow Finding(const std::string& text, int icon, bool checked) {
    return {text, {"File", "C:\\" + text}, icon, checked};
}

std::vector<std::string> Texts(const ListRows& rows) {
    std::vector<std::string> texts;
    for (const auto& row : rows) {
        texts.push_back(row.text + "/" + std::to_string(row.smallIcon) + (row.checked ? "/ticked" : ""));
    }
    return texts;
}

TEST(ListRows, RemovalsKeepTheOtherRowsInOrderWithTheirIconsAndCheckMarks) {
    HeadlessHost host;
    Form form(host, "frmTest");
    Control& list = form.Add("lvwRemove", ControlType::ListView);
    EXPECT_EQ(list.AddRows({Finding("a", 1, true), Finding("b", 2, false), Finding("c", 3, true),
                            Finding("d", 4, true), Finding("e", 5, false)}),
              0u);
    EXPECT_EQ(list.AddRow(Finding("f", 0, true)), 5u);
    EXPECT_EQ(list.AddRows({}), 6u);

    // Every ticked row goes, the walk going on with the row that moved into its place.
    std::vector<std::string> asked;
    EXPECT_EQ(list.RemoveRowsIf([&](const ListRow& row) {
        asked.push_back(row.text);
        return row.checked;
    }),
              4u);
    EXPECT_EQ(asked, (std::vector<std::string>{"a", "b", "c", "d", "e", "f"})) << "each row asked once";
    EXPECT_EQ(Texts(list.Rows()), (std::vector<std::string>{"b/2", "e/5"}));
    EXPECT_EQ(list.Rows()[1].SubItem(2), "C:\\e");

    list.AddRow(Finding("g", 3, true));
    list.RemoveRow(0);
    list.RemoveRow(7); // no such row
    EXPECT_EQ(Texts(list.Rows()), (std::vector<std::string>{"e/5", "g/3/ticked"}));
    EXPECT_EQ(list.FindRow("G"), std::optional<std::size_t>(1));
    EXPECT_EQ(list.RemoveRowsIf([](const ListRow&) { return false; }), 0u);
    list.ClearRows();
    EXPECT_TRUE(list.Rows().empty());
}

TEST(ListRows, TheHostHearsEachChangeInOrderAndOnlyWhileTheFormIsLoaded) {
    MirrorHost host;
    Form form(host, "frmTest");
    Control& list = form.Add("lvwEvents", ControlType::ListView);
    list.AddRow(Finding("before load", 1, false));
    EXPECT_TRUE(host.changes.empty());
    form.Load();

    using K = RowChangeKind;
    list.AddRows({Finding("a", 1, false), Finding("b", 1, true), Finding("c", 1, false),
                  Finding("d", 1, true), Finding("e", 1, true)});
    list.SetSubItem(1, 2, "C:\\moved");
    list.SetRowChecked(3, true);
    list.SetRowChecked(3, true); // unchanged: nothing to tell
    list.RemoveRow(0);
    // Ticked now: b, c, d, e (rows 1 to 4), one run; untick c and two runs are left.
    list.SetRowChecked(2, false);
    list.RemoveRowsIf([](const ListRow& row) { return row.checked; });
    list.RemoveRowsIf([](const ListRow&) { return false; });
    list.AddRows({});
    list.BeginRowUpdate();
    list.BeginRowUpdate(); // pairs nest: the host hears the outer pair only
    list.AddRow(Finding("f", 2, false));
    list.EndRowUpdate();
    list.EndRowUpdate();
    list.EndRowUpdate(); // one end too many is ignored
    list.ClearRows();
    list.ClearRows(); // already empty

    EXPECT_EQ(host.changes, (std::vector<RowChange>{
                                {K::UpdateBegin, 0, 0},
                                {K::Added, 1, 5},
                                {K::UpdateEnd, 0, 0},
                                {K::Changed, 1, 1},
                                {K::Changed, 3, 1},
                                {K::Removed, 0, 1},
                                {K::Changed, 2, 1},
                                {K::UpdateBegin, 0, 0},
                                {K::Removed, 3, 2}, // the last run first: row 1 is still row 1
                                {K::Removed, 1, 1},
                                {K::UpdateEnd, 0, 0},
                                {K::UpdateBegin, 0, 0},
                                {K::Added, 2, 1},
                                {K::UpdateEnd, 0, 0},
                                {K::Cleared, 0, 0},
                            }));
    EXPECT_EQ(host.updates, 0);
}

TEST(ListRows, AHostReplayingTheChangesKeepsTheModelsRowsThroughAnyMix) {
    MirrorHost host;
    Form form(host, "frmTest");
    Control& list = form.Add("lvwMix", ControlType::ListView);
    form.Load();
    std::mt19937 random(7);
    int serial = 0;
    auto next = [&] {
        ++serial;
        return Finding("row" + std::to_string(serial), serial % 6, serial % 3 == 0);
    };
    for (int step = 0; step < 400; ++step) {
        const std::size_t size = list.Rows().size();
        switch (random() % 7) {
        case 0:
            list.AddRow(next());
            break;
        case 1:
            list.AddRows({next(), next(), next()});
            break;
        case 2:
            list.RemoveRow(size ? random() % size : 0);
            break;
        case 3:
            list.RemoveRowsIf([&](const ListRow&) { return random() % 3 == 0; });
            break;
        case 4:
            if (size) {
                list.SetSubItem(random() % size, 1 + random() % 3, "sub" + std::to_string(step));
                list.SetRowChecked(random() % size, random() % 2 == 0);
            }
            break;
        case 5:
            if (random() % 8 == 0) {
                list.ClearRows();
            }
            break;
        default:
            list.BeginRowUpdate();
            list.RemoveRow(0);
            list.AddRow(next());
            list.EndRowUpdate();
            break;
        }
        ASSERT_EQ(Texts(ListRows(host.rows.begin(), host.rows.end())), Texts(list.Rows())) << "step " << step;
        ASSERT_EQ(host.updates, 0);
    }
    for (std::size_t i = 0; i < host.rows.size(); ++i) {
        EXPECT_EQ(host.rows[i].subItems, list.Rows()[i].subItems);
    }
}

} // namespace
} // namespace grimsweep::ui
