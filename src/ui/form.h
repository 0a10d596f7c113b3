// A form: a named window with an ordered list of controls, a caption, a position in twips, a window
// state, and the load / resize / close / unload life of a window. The host renders it (Win32) or keeps
// it in memory (headless); the program reads and writes only the model.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/control.h"

namespace grimsweep {
class IUiHost;
}

namespace grimsweep::ui {

enum class WindowState { Normal, Minimized, Maximized };

enum class FormChange { Caption, Visible, State, Position, TaskList, Icon, Region, Pointer };

struct Size {
    int width = 0;
    int height = 0;
};

// How a window looks and stands towards the other windows. The host reads it when it makes the window,
// so it is set before the form loads.
struct FormStyle {
    // No caption and no border: the inside is the whole window.
    bool borderless = false;
    // Above every window that is not top-most, the active one included.
    bool topMost = false;
    // Showing, moving or clicking it leaves the activation and the keyboard focus where they are.
    bool noActivate = false;
};

class Form;

// The program's windows on a host, in the order they were made; a window leaves the list when it is
// destroyed. Translation and the localization template walk it.
std::vector<Form*> WindowsOf(const IUiHost& host);

class Form {
public:
    Form(IUiHost& host, std::string name);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    IUiHost& Host() const { return host_; }
    const std::string& Name() const { return name_; }

    // Adds a control at the end of the list; `container` is a frame, picture box, menu or tab page that
    // holds it (nothing: the form itself). Controls added after the form is loaded are created at once.
    Control& Add(std::string name, ControlType type, Control* container = nullptr, int index = -1);
    // The control of that name and index, or nothing.
    Control* Find(std::string_view name, int index = -1) const;
    // The control of that name and index; the form must have it.
    Control& Get(std::string_view name, int index = -1) const;
    const std::vector<std::unique_ptr<Control>>& Controls() const { return controls_; }
    // The indexes of a control array, in the order added.
    std::vector<Control*> Array(std::string_view name) const;

    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);
    const Bounds& Position() const { return bounds_; }
    void Move(int left, int top, int width, int height);
    // The inside width and height (twips), without border, caption and menu bar, as the host last
    // measured the window.
    int ScaleWidth() const { return inside_.width; }
    int ScaleHeight() const { return inside_.height; }
    // The host's measure of the inside (it changes with the size, the state, the menu bar, the theme
    // and the resolution); it does not run the resize handler.
    void SetInsideSize(const Size& inside) { inside_ = inside; }
    // True when the form has a visible top-level menu.
    bool HasMenuBar() const;
    bool Visible() const { return visible_; }
    WindowState State() const { return state_; }
    void SetState(WindowState state);
    const FormStyle& Style() const { return style_; }
    // Before the form loads; a loaded form keeps the window it has (std::logic_error).
    void SetStyle(const FormStyle& style);
    bool ShowInTaskList() const { return showInTaskList_; }
    void SetShowInTaskList(bool show);
    const std::string& IconResource() const { return iconResource_; }
    void SetIconResource(std::string name);
    // Sets the window's region to its whole rectangle, replacing any earlier region.
    void ResetRegion();
    int RegionResets() const { return regionResets_; }
    // The mouse pointer over the form's window and its controls: the hourglass while busy, else the
    // normal pointer of whatever lies under it.
    bool BusyPointer() const { return busyPointer_; }
    void SetBusyPointer(bool busy);
    bool Loaded() const { return loaded_; }
    bool Modal() const { return modal_; }

    // Creates the window (once) and runs onLoad.
    void Load();
    // Loads when needed and shows; a modal show returns when the form is hidden or unloaded. A form whose
    // load handler hid it stays hidden.
    void Show(bool modal = false);
    void Hide();
    // The close box or a close command: runs onCloseRequest (which may cancel by returning false),
    // then unloads.
    void RequestClose();
    // Runs onUnload and destroys the window; the model stays and can be loaded again.
    void Unload();
    // The window changed size or state (from the host, or from the program through Move/SetState).
    void Resized();
    // The user moved, sized, minimised, maximised or restored the window: takes the new bounds, state and
    // inside size without echoing them to the host, then runs Resized once when a size or the state
    // changed.
    void SetFromWindow(const Bounds& bounds, WindowState state, const Size& inside);

    std::function<void()> onLoad;
    std::function<void()> onResize;
    std::function<bool()> onCloseRequest;
    std::function<void()> onUnload;
    std::function<void(int x)> onMouseMove;

    // Called by controls when they change.
    void ControlChanged(Control& control, Change change);
    void RowsChanged(Control& list, const RowChange& change);

    // Host's own data (its window handle), untouched by the model.
    std::uintptr_t hostHandle = 0;

private:
    void FormChanged(FormChange change);

    IUiHost& host_;
    std::string name_;
    std::vector<std::unique_ptr<Control>> controls_;
    std::string caption_;
    Bounds bounds_{0, 0, 6000, 4500};
    Size inside_;
    bool visible_ = false;
    bool loaded_ = false;
    bool loading_ = false;
    bool hiddenWhileLoading_ = false;
    bool modal_ = false;
    WindowState state_ = WindowState::Normal;
    FormStyle style_;
    bool showInTaskList_ = true;
    std::string iconResource_;
    int regionResets_ = 0;
    bool busyPointer_ = false;
};

// Moves the form, keeping its size, so that its middle is the middle of `owner`.
void CentreOver(Form& form, const Form& owner);
// Moves the form, keeping its size, to the middle of the screen's desktop, never above or left of it.
void CentreOnScreen(Form& form);

} // namespace grimsweep::ui
