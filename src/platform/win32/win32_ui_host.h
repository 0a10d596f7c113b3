// The real window system's part of the host: message boxes and the message pump.
#pragma once

#include "ui/ui_host.h"

namespace grimsweep::win32 {

class Win32UiHost : public IUiHost {
public:
    MessageBoxAnswer ShowMessageBox(const MessageBoxRequest& request) override;
    void PumpMessages() override;
};

} // namespace grimsweep::win32
