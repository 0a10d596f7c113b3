// Filling and emptying a list view: the cost per row must not grow with the list. For each operation it
// prints the time for 10,000 rows against ten times the time for 1,000 rows; 1 means linear, 10 means
// every row costs as much as the rows before it. Natively the list lives in the headless host; the
// Windows build shows it in a real window with the real list view (run it under Wine with a display).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/form.h"
#ifdef _WIN32
#include "platform/win32/win32_ui_host.h"
#else
#include "ui/headless_host.h"
#endif

namespace {

using namespace grimsweep;

#ifdef _WIN32
using Host = win32::Win32UiHost;
constexpr const char* kHostName = "Win32 list view";
#else
using Host = HeadlessHost;
constexpr const char* kHostName = "headless host";
#endif

constexpr std::size_t kSmall = 1000;
constexpr std::size_t kLarge = 10000;

ui::ListRow Row(std::size_t i) {
    return {"Finding " + std::to_string(i) + " - C:\\Program Files\\Vendor\\module" + std::to_string(i) +
                ".dll",
            {"File", "C:\\Program Files\\Vendor"},
            static_cast<int>(i % 5) + 1,
            i % 2 == 0};
}

// A form with a list like the scan's: three columns, check boxes, icons.
struct Window {
    Window() {
        form.SetCaption("List rows");
        form.Move(600, 600, 9000, 6000);
        list.SetCheckBoxes(true);
        list.AddColumn("Item", 4000);
        list.AddColumn("Kind", 1500);
        list.AddColumn("Location", 3000);
        list.Move(120, 120, 8500, 5000);
        form.Show();
        host.PumpMessages();
    }

    void Fill(std::size_t count) {
        list.ClearRows();
        std::vector<ui::ListRow> rows;
        for (std::size_t i = 0; i < count; ++i) {
            rows.push_back(Row(i));
        }
        list.AddRows(std::move(rows));
        host.PumpMessages();
    }

    Host host;
    ui::Form form{host, "frmBench"};
    ui::Control& list = form.Add("lvwBench", ui::ControlType::ListView);
};

struct Operation {
    const char* name;
    std::function<void(Window&, std::size_t)> run; // the timed work on n rows
    bool prefilled = false;                        // the list holds the n rows first (untimed)
};

double Seconds(Window& window, const Operation& operation, std::size_t rows) {
    window.Fill(operation.prefilled ? rows : 0);
    const auto start = std::chrono::steady_clock::now();
    operation.run(window, rows);
    window.host.PumpMessages(); // what the window does with the changes counts too
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void Measure(Window& window, const Operation& operation, int rounds) {
    double large = 1e9;
    double small = 1e9;
    for (int round = 0; round < rounds; ++round) {
        large = std::min(large, Seconds(window, operation, kLarge));
        double tenSmall = 0;
        for (std::size_t i = 0; i < kLarge / kSmall; ++i) {
            tenSmall += Seconds(window, operation, kSmall);
        }
        small = std::min(small, tenSmall);
    }
    std::printf("%-34s %9.1f ms %9.1f ms %8.2f\n", operation.name, large * 1000, small * 1000,
                small > 0 ? large / small : 0.0);
    std::fflush(stdout);
}

} // namespace

// list_rows_bench [ROUNDS]: the best of ROUNDS runs (3), against noise from other programs.
int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    auto window = std::make_unique<Window>();
    // One-by-one changes run inside a row update, as a caller that changes many rows at once does: a
    // window that redraws after every row measures its drawing, not the list.
    const Operation operations[] = {
        {"add one by one",
         [](Window& w, std::size_t n) {
             w.list.BeginRowUpdate();
             for (std::size_t i = 0; i < n; ++i) {
                 w.list.AddRow(Row(i));
             }
             w.list.EndRowUpdate();
         }},
        {"add all at once",
         [](Window& w, std::size_t n) {
             std::vector<ui::ListRow> rows;
             rows.reserve(n);
             for (std::size_t i = 0; i < n; ++i) {
                 rows.push_back(Row(i));
             }
             w.list.AddRows(std::move(rows));
         }},
        {"set a sub-item of every row",
         [](Window& w, std::size_t n) {
             w.list.BeginRowUpdate();
             for (std::size_t i = 0; i < n; ++i) {
                 w.list.SetSubItem(i, 1, "Registry entry");
             }
             w.list.EndRowUpdate();
         },
         true},
        {"remove one by one, last first",
         [](Window& w, std::size_t n) {
             w.list.BeginRowUpdate();
             for (std::size_t i = n; i > 0; --i) {
                 w.list.RemoveRow(i - 1);
             }
             w.list.EndRowUpdate();
         },
         true},
        {"remove one by one, first first",
         [](Window& w, std::size_t) {
             w.list.BeginRowUpdate();
             while (!w.list.Rows().empty()) {
                 w.list.RemoveRow(0);
             }
             w.list.EndRowUpdate();
         },
         true},
        {"remove the ticked half",
         [](Window& w, std::size_t) {
             w.list.RemoveRowsIf([](const ui::ListRow& row) { return row.checked; });
         },
         true},
        {"clear", [](Window& w, std::size_t) { w.list.ClearRows(); }, true},
    };
    std::printf("List rows on the %s: 10,000 rows against 1,000 rows ten times over\n", kHostName);
    std::printf("%-34s %12s %12s %8s\n", "", "10,000 rows", "10 x 1,000", "ratio");
    for (const Operation& operation : operations) {
        Measure(*window, operation, rounds);
    }
    std::printf(
        "(1 is linear; 10 means each row costs as much as all the rows before it. Every run ends with\n"
        " one repaint of the window, a fixed cost that pulls the ratio below 1 on a real window.)\n");
    return 0;
}
