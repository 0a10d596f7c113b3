// What only the window system can do for the program: message boxes, the message pump, and showing the
// forms of the form model. The Win32 host renders real windows; the headless host keeps a virtual clock
// and answers from a script, for tests.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "ui/message_box.h"

namespace grimsweep {

namespace ui {
class Form;
class Control;
enum class Change;
enum class FormChange;
struct RowChange;
} // namespace ui

// A rectangle on the screen in pixels.
struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

class IUiHost {
public:
    virtual ~IUiHost() = default;

    // Shows a modal message box and returns the button pressed.
    virtual MessageBoxAnswer ShowMessageBox(const MessageBoxRequest& request) = 0;
    // Lets pending window messages run once. Long loops call it for every item, so a host may skip
    // looking when it looked moments ago and changed no window since: input and timer ticks then wait a
    // few milliseconds at most.
    virtual void PumpMessages() = 0;
    // For modal waits (an alert waiting for its answer, Pause): sleeps until the next message or timer
    // tick arrives, then lets pending messages run once. Returns false, at once, while the program is
    // ending: the wait must give up then.
    virtual bool WaitForMessage() = 0;
    // True once the program has been told to end; a long task that pumps messages stops when it sees it.
    virtual bool QuitPending() = 0;

    // Form life: the host creates the window when a form loads and destroys it when it unloads.
    virtual void FormLoaded(ui::Form& form) = 0;
    virtual void FormUnloaded(ui::Form& form) = 0;
    // Shows the form; a modal show returns when the form is hidden or unloaded.
    virtual void ShowForm(ui::Form& form, bool modal) = 0;
    virtual void FormChanged(ui::Form& form, ui::FormChange change) = 0;
    virtual void ControlAdded(ui::Control& control) = 0;
    virtual void ControlChanged(ui::Control& control, ui::Change change) = 0;
    // A list view's rows changed: one change of the rows, told as it happens (see ui::RowChange).
    virtual void ListRowsChanged(ui::Control& list, const ui::RowChange& change) = 0;

    // Suspends (true) or resumes drawing of a form's window.
    virtual void LockDrawing(ui::Form& form, bool locked) = 0;
    // The taskbar window ("Shell_TrayWnd") and the desktop, client rectangles in pixels; an empty
    // rectangle when there is none.
    virtual ScreenRect TaskbarRect() = 0;
    virtual ScreenRect DesktopRect() = 0;
    // Twips per pixel of the screen (15 at 96 dots per inch).
    virtual double TwipsPerPixelX() = 0;
    virtual double TwipsPerPixelY() = 0;
    // Milliseconds of the host's clock (virtual in tests).
    virtual std::uint64_t Milliseconds() = 0;
    // The system's file-open dialog over `owner`: the chosen file's full path, or nothing when the user
    // cancels. A host without dialogs answers as a cancel.
    virtual std::optional<std::string> ChooseFileToOpen(ui::Form& /*owner*/) { return std::nullopt; }
    // Ends the program: the message loop returns once the current handler has finished, and QuitPending
    // is true from now on.
    virtual void Quit() = 0;
};

} // namespace grimsweep
