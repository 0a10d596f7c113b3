// The real window system's host: message boxes, the message loop, and every form of the form model
// rendered as a real window with real controls, timers, menus and icons.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/win32/win32_dpi.h"
#include "platform/win32/win32_failure_report.h"
#include "platform/win32/win32_list_view.h"
#include "ui/form.h"
#include "ui/ui_host.h"

namespace grimsweep::win32 {

class Win32UiHost : public IUiHost {
public:
    // Milliseconds: a click or a timer tick waits no longer than this for a long loop's pump, and a
    // system timer's own resolution is coarser.
    static constexpr std::uint64_t kPumpInterval = 5;

    // `programIcon` names the group icon resource of the executable that every window carries unless
    // its form names another (the class icon, the hidden owner's, each window's big and small icon).
    explicit Win32UiHost(std::string programIcon = {});
    ~Win32UiHost() override;
    Win32UiHost(const Win32UiHost&) = delete;
    Win32UiHost& operator=(const Win32UiHost&) = delete;

    MessageBoxAnswer ShowMessageBox(const MessageBoxRequest& request) override;
    // Lets pending messages run, as DrainMessages, but looks at the queue only when the host changed a
    // window since the last look or the pump interval has passed since then: a long loop pumps once per
    // item, and under Wine every look is a round trip to the wineserver that costs more than the item.
    // Input, timer ticks and messages from elsewhere wait at most the interval.
    void PumpMessages() override;
    // Lets every pending message run now. A quit found among them stays posted for the outer loop, and
    // QuitPending says so from then on.
    void DrainMessages();
    // The longest time (milliseconds) PumpMessages leaves the queue unlooked-at.
    void SetPumpInterval(std::uint64_t milliseconds) { pumpInterval_ = milliseconds; }
    // How many times the queue was drained, for tests and measurements.
    std::uint64_t Drains() const { return drains_; }
    bool WaitForMessage() override;
    bool QuitPending() override { return quitPending_; }
    void FormLoaded(ui::Form& form) override;
    void FormUnloaded(ui::Form& form) override;
    void ShowForm(ui::Form& form, bool modal) override;
    void FormChanged(ui::Form& form, ui::FormChange change) override;
    void ControlAdded(ui::Control& control) override;
    void ControlChanged(ui::Control& control, ui::Change change) override;
    void ListRowsChanged(ui::Control& list, const ui::RowChange& change) override;
    void LockDrawing(ui::Form& form, bool locked) override;
    ScreenRect TaskbarRect() override;
    ScreenRect DesktopRect() override;
    double TwipsPerPixelX() override { return scale_.TwipsPerPixelX(); }
    double TwipsPerPixelY() override { return scale_.TwipsPerPixelY(); }
    std::uint64_t Milliseconds() override;
    void Quit() override;
    // GetOpenFileNameW over the form's window.
    std::optional<std::string> ChooseFileToOpen(ui::Form& owner) override;

    // The message loop: runs until Quit and returns the exit code.
    int Run();

    // For the window procedures.
    const TwipsScale& Scale() const { return scale_; }
    HFONT Font(bool bold, bool italic);
    HIMAGELIST ListIcons();
    HBRUSH Brush(COLORREF color);
    // An icon resource of the executable at `size` pixels square, loaded once; nothing when missing.
    HICON Icon(const std::string& name, int size);
    FailureReport& Failures() { return failures_; }
    // Tells the form the inside size of its window, in twips.
    void MeasureInside(ui::Form& form);
    ListMirror& Mirror(const ui::Control& listView) { return mirrors_[&listView]; }
    // True while the host itself changes windows to match the model: notifications that those changes
    // raise are not user actions and must not reach the model.
    bool Syncing() const { return syncing_ > 0; }
    // The screen resolution changed for a form's window (moved to another monitor, or scaling changed).
    void DpiChanged(ui::Form& form, int dpi, const RECT& suggested);

    class SyncGuard {
    public:
        explicit SyncGuard(Win32UiHost& host) : host_(host) { ++host_.syncing_; }
        ~SyncGuard() { --host_.syncing_; }
        SyncGuard(const SyncGuard&) = delete;
        SyncGuard& operator=(const SyncGuard&) = delete;

    private:
        Win32UiHost& host_;
    };

private:
    struct FormState {
        int drawingLocks = 0;
    };
    // A form shown modally and the windows it disabled.
    struct ModalState {
        const ui::Form* form = nullptr;
        std::vector<HWND> disabled;
    };

    void CreateControls(ui::Form& form);
    void ApplyWindowState(ui::Form& form);
    void ApplyTaskList(ui::Form& form);
    void ApplyIcon(ui::Form& form);
    void ApplyPointer(HWND window);
    void ReleaseFonts();
    // Enables again the windows a modal form disabled: before it is hidden or destroyed, so that the
    // system gives the activation back to the window below it.
    void EndModal(const ui::Form& form);
    // A quit arrived (or was asked for) with this exit code: remembered, and posted again for the loop
    // that ends the program.
    void KeepQuit(int exitCode);
    // The host changed windows: the messages that leaves (paints, notifications) must run at the next
    // pump.
    void WindowsChanged() { windowsChanged_ = true; }

    TwipsScale scale_;
    std::string programIcon_;
    FailureReport failures_;
    HWND owner_ = nullptr; // hidden owner of forms that stay out of the task list
    std::map<std::pair<bool, bool>, HFONT> fonts_;
    std::map<COLORREF, HBRUSH> brushes_;
    HIMAGELIST listIcons_ = nullptr;
    std::map<std::pair<std::string, int>, HICON> icons_;
    std::vector<ModalState> modals_;
    std::map<ui::Form*, FormState> forms_;
    std::map<const ui::Control*, ListMirror> mirrors_;
    int syncing_ = 0;
    bool quitPending_ = false;
    bool windowsChanged_ = false;
    std::uint64_t pumpInterval_ = kPumpInterval;
    std::uint64_t lastDrain_ = 0; // GetTickCount64 at the end of the last drain
    std::uint64_t drains_ = 0;
};

} // namespace grimsweep::win32
