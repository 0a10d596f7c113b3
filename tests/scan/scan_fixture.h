// A simulated machine with the six result lists on a headless form, the scan state and a recording
// feedback, so that one stage can run on its own as the driver would run it.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../definitions/definitions_fixture.h"
#include "core/path_macros.h"
#include "scan/scan_lists.h"
#include "scan/scan_run.h"
#include "scan/scan_state.h"
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

class ScanStageTest : public DefinitionsTest {
protected:
    ScanStageTest()
        : form((AddScanLists(listsForm), listsForm)), lists(form),
          macros(PathMacroTable::Capture(sim.shell)), run{context, definitions, macros, state,
                                                          lists,   feedback,    {}} {}

    // The texts of a list's rows, in order.
    static std::vector<std::string> Texts(const ui::Control& list) {
        std::vector<std::string> texts;
        for (const auto& row : list.Rows()) {
            texts.push_back(row.text);
        }
        return texts;
    }

    ui::Form listsForm{host, "frmLists"};
    ui::Form& form;
    ScanLists lists;
    PathMacroTable macros;
    ScanState state;
    RecordingFeedback feedback;
    ScanRun run;
};

} // namespace grimsweep
