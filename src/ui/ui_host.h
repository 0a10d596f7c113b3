// What only the window system can do for the program. The Win32 host shows real windows; the headless
// host answers from a script and records what was asked, for tests.
#pragma once

#include "ui/message_box.h"

namespace grimsweep {

class IUiHost {
public:
    virtual ~IUiHost() = default;

    // Shows a modal message box and returns the button pressed.
    virtual MessageBoxAnswer ShowMessageBox(const MessageBoxRequest& request) = 0;
    // Lets pending window messages run once.
    virtual void PumpMessages() = 0;
};

} // namespace grimsweep
