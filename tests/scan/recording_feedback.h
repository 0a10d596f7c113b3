// A stage's feedback that records what it reports, and a form holding the lists the scan writes: what a
// stage needs around it to run on its own, on the simulated machine or on the real one.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "scan/scan_lists.h"
#include "scan/scan_run.h"
#include "ui/form.h"

namespace grimsweep {

// Records what a stage reports instead of drawing it; the test decides whether a user scan runs.
class RecordingFeedback : public IScanFeedback {
public:
    void ReportProgress(std::string_view status, double stagePercent, double overallPercent) override {
        statuses.emplace_back(status);
        stagePercents.push_back(stagePercent);
        overallPercents.push_back(overallPercent);
        if (onReport) {
            onReport();
        }
    }
    void Pump() override {
        ++pumps;
        if (onPump) {
            onPump();
        }
    }
    bool UserScanRunning() const override { return userScan; }

    std::vector<std::string> statuses;
    std::vector<double> stagePercents;
    std::vector<double> overallPercents;
    int pumps = 0;
    bool userScan = true;
    std::function<void()> onReport;
    std::function<void()> onPump;
};

// A form holding just the lists the scan writes.
inline void AddScanLists(ui::Form& form) {
    for (std::string_view name : {kFoundList, kRemovalListName, kFilesToDeleteList, kRegistryToDeleteList,
                                  kCookiesToDeleteList, kFileNotFoundList}) {
        form.Add(std::string(name), ui::ControlType::ListView).SetCheckBoxes(name != kFoundList);
    }
}

} // namespace grimsweep
