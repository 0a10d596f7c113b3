// The cost of a long loop's message pump with nothing waiting: 100,000 calls of the host's pump against
// as many full drains of the queue (what every pump did before it learned to skip), and one look at the
// queue status for comparison. Under Wine each look at the queue is a round trip to the wineserver. Run
// it under Wine with a display (see README.md).
#include "platform/win32/windows_api.h"

#include <chrono>
#include <cstdio>
#include <functional>

#include "platform/win32/win32_ui_host.h"
#include "ui/form.h"

namespace {

using namespace grimsweep;

constexpr int kCalls = 100000;

double MicrosecondsPerCall(const std::function<void()>& call) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kCalls; ++i) {
        call();
    }
    const std::chrono::duration<double, std::micro> spent = std::chrono::steady_clock::now() - start;
    return spent.count() / kCalls;
}

} // namespace

int main() {
    win32::Win32UiHost host;
    ui::Form form{host, "frmBench"};
    form.SetCaption("Pump");
    form.Move(600, 600, 6000, 4000);
    form.Add("lblStatus", ui::ControlType::Label).Move(120, 120, 4000, 300);
    form.Add("cmdStop", ui::ControlType::CommandButton).Move(120, 600, 1200, 400);
    form.Show();
    // Lets the window settle: its first paints and activation.
    for (const ULONGLONG end = GetTickCount64() + 500; GetTickCount64() < end;) {
        host.DrainMessages();
        Sleep(10);
    }

    const double drain = MicrosecondsPerCall([&] { host.DrainMessages(); });
    const double status = MicrosecondsPerCall([] { GetQueueStatus(QS_ALLINPUT); });
    const std::uint64_t drainsBefore = host.Drains();
    const double pump = MicrosecondsPerCall([&] { host.PumpMessages(); });
    const std::uint64_t drains = host.Drains() - drainsBefore;

    std::printf("queue status check (GetQueueStatus): %.3f us per call\n", status);
    std::printf("queue drained %llu times in %d pumps\n", static_cast<unsigned long long>(drains), kCalls);
    std::printf("pump cost per call: %.3f us (was %.3f us)\n", pump, drain);
    form.Unload();
    return 0;
}
