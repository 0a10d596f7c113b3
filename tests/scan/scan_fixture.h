// A simulated machine with the six result lists on a headless form, the scan state and a recording
// feedback, so that one stage can run on its own as the driver would run it.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../definitions/definitions_fixture.h"
#include "core/path_macros.h"
#include "recording_feedback.h"
#include "scan/scan_lists.h"
#include "scan/scan_run.h"
#include "scan/scan_state.h"
#include "ui/form.h"

namespace grimsweep {

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
