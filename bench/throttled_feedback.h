// What the main window does with the stage reports, kept cheap for the benchmarks: counts them and on
// every 100th formats the counters and the masked status text, as it would into its labels; the pump is
// the host's.
#pragma once

#include <string>
#include <string_view>

#include "scan/scan_run.h"
#include "scan/scan_state.h"
#include "scan/status_text.h"
#include "ui/ui_host.h"

namespace grimsweep {

class ThrottledFeedback : public IScanFeedback {
public:
    ThrottledFeedback(IUiHost& host, const ScanState& state) : host_(host), state_(state) {}

    void ReportProgress(std::string_view status, double stagePercent, double overallPercent) override {
        if (++calls_ < 100) {
            return;
        }
        calls_ = 0;
        const auto& c = state_.counters;
        labels_ = std::to_string(c.cookiesAndProcesses) + std::to_string(c.registryEntries) +
                  std::to_string(c.filesAndFolders) + std::to_string(c.threatsFound) +
                  MaskStatusText(status) + std::to_string(static_cast<int>(stagePercent)) +
                  std::to_string(static_cast<int>(overallPercent));
    }
    void Pump() override { host_.PumpMessages(); }
    bool UserScanRunning() const override { return true; }

private:
    IUiHost& host_;
    const ScanState& state_;
    int calls_ = 0;
    std::string labels_;
};

} // namespace grimsweep
