// The host for tests: no windows. A virtual clock fires due timer ticks when the test advances it;
// message boxes are answered from a script (first button when the script is empty) and every box shown
// is recorded; hooks let a test act while the program pumps messages or shows a form modally. A wait for
// the next message moves the clock to the next timer tick, so that modal waits stay deterministic. A
// form's inside size is its size less a fixed frame, as a window system with one theme at 96 dots per inch
// would measure it.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ui/form.h"
#include "ui/ui_host.h"

namespace grimsweep {

class HeadlessHost : public IUiHost {
public:
    MessageBoxAnswer ShowMessageBox(const MessageBoxRequest& request) override;
    void PumpMessages() override;
    // Moves the clock to the next timer tick (firing it), then pumps. With no timer armed and no pump
    // hook nothing could ever end the wait: it throws std::logic_error instead of hanging the test.
    bool WaitForMessage() override;
    bool QuitPending() override { return quitRequested; }
    void FormLoaded(ui::Form& form) override;
    void FormUnloaded(ui::Form& form) override;
    void ShowForm(ui::Form& form, bool modal) override;
    void FormChanged(ui::Form& form, ui::FormChange change) override;
    void ControlAdded(ui::Control& control) override;
    void ControlChanged(ui::Control& control, ui::Change change) override;
    void ListRowsChanged(ui::Control&, const ui::RowChange&) override {}
    void LockDrawing(ui::Form& form, bool locked) override;
    ScreenRect TaskbarRect() override { return taskbar; }
    ScreenRect DesktopRect() override { return desktop; }
    double TwipsPerPixelX() override { return twipsPerPixel; }
    double TwipsPerPixelY() override { return twipsPerPixel; }
    std::uint64_t Milliseconds() override { return now_; }
    void Quit() override { quitRequested = true; }
    // Answers from fileDialogAnswers in order (a cancel when it is empty) and counts the dialogs shown.
    std::optional<std::string> ChooseFileToOpen(ui::Form& owner) override;

    // Moves the virtual clock forward, firing every timer tick that falls due, in time order. A tick may
    // advance the clock itself (a scheduled scan runs inside one): the clock never goes back.
    void Advance(std::uint64_t milliseconds);

    // Queues the answer for the next message box.
    void Answer(MessageBoxAnswer answer) { answers_.push_back(answer); }
    const std::vector<MessageBoxRequest>& Shown() const { return shown_; }
    const std::vector<ui::Form*>& LoadedForms() const { return forms_; }
    ui::Form* FindForm(std::string_view name) const;

    // Runs at every message pump.
    std::function<void()> onPump;
    // Runs while a message box is up, before its answer is given.
    std::function<void(const MessageBoxRequest&)> onMessageBox;
    // Runs when a form is shown modally; the modal show returns when the hook returns (a form that is
    // still visible then is hidden, as if the user had closed it).
    std::function<void(ui::Form&)> onModal;
    // Every change of a loaded form's mouse pointer, in order: the form's name and whether it became busy.
    struct PointerChange {
        std::string form;
        bool busy = false;
        bool operator==(const PointerChange&) const = default;
    };
    std::vector<PointerChange> pointerChanges;
    // The scripted answers of the coming file-open dialogs: a path, or nothing for Cancel.
    std::deque<std::optional<std::string>> fileDialogAnswers;
    int fileDialogsShown = 0;
    int pumps = 0;
    int waits = 0;
    int drawingLocks = 0; // locks currently in force
    bool quitRequested = false;
    ScreenRect taskbar{0, 728, 1024, 768};
    ScreenRect desktop{0, 0, 1024, 768};
    // 15 at 96 dpi, 12 at 120 dpi, 10 at 144 dpi.
    double twipsPerPixel = 15.0;

    // Border and caption, and the menu bar, of the simulated windows, in twips.
    static constexpr int kFrameWidth = 120;
    static constexpr int kFrameHeight = 480;
    static constexpr int kMenuBarHeight = 300;

private:
    void Arm(ui::Control& timer);
    // The armed timer that ticks next, or the end of due_.
    std::map<ui::Control*, std::uint64_t>::iterator NextDue();
    void Measure(ui::Form& form);

    std::uint64_t now_ = 0;
    std::deque<MessageBoxAnswer> answers_;
    std::vector<MessageBoxRequest> shown_;
    std::vector<ui::Form*> forms_;
    std::map<ui::Control*, std::uint64_t> due_; // armed timers and their next tick
};

} // namespace grimsweep
