#include "platform/win32/win32_ui_host.h"

#include "platform/win32/windows_api.h"

#include "platform/win32/wide_text.h"

namespace grimsweep::win32 {

MessageBoxAnswer Win32UiHost::ShowMessageBox(const MessageBoxRequest& request) {
    UINT style = MB_OK;
    switch (request.buttons) {
    case MessageBoxButtons::YesNo:
        style = MB_YESNO;
        break;
    case MessageBoxButtons::AbortRetryIgnore:
        style = MB_ABORTRETRYIGNORE;
        break;
    case MessageBoxButtons::Ok:
        break;
    }
    switch (request.icon) {
    case MessageBoxIcon::Information:
        style |= MB_ICONINFORMATION;
        break;
    case MessageBoxIcon::Question:
        style |= MB_ICONQUESTION;
        break;
    case MessageBoxIcon::Exclamation:
        style |= MB_ICONEXCLAMATION;
        break;
    case MessageBoxIcon::Critical:
        style |= MB_ICONERROR;
        break;
    case MessageBoxIcon::None:
        break;
    }
    switch (MessageBoxW(GetActiveWindow(), Widen(request.text).c_str(), Widen(request.title).c_str(), style)) {
    case IDYES:
        return MessageBoxAnswer::Yes;
    case IDNO:
        return MessageBoxAnswer::No;
    case IDABORT:
        return MessageBoxAnswer::Abort;
    case IDRETRY:
        return MessageBoxAnswer::Retry;
    case IDIGNORE:
        return MessageBoxAnswer::Ignore;
    default:
        return MessageBoxAnswer::Ok;
    }
}

void Win32UiHost::PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

} // namespace grimsweep::win32
