#include "ui/form.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "ui/ui_host.h"

namespace grimsweep::ui {

namespace {

// Every form of every host, in the order made. The windows live on the one user-interface thread.
std::vector<Form*>& AllForms() {
    static std::vector<Form*> forms;
    return forms;
}

} // namespace

std::vector<Form*> WindowsOf(const IUiHost& host) {
    std::vector<Form*> windows;
    for (Form* form : AllForms()) {
        if (&form->Host() == &host) {
            windows.push_back(form);
        }
    }
    return windows;
}

Form::Form(IUiHost& host, std::string name) : host_(host), name_(std::move(name)) {
    AllForms().push_back(this);
}

Form::~Form() {
    std::erase(AllForms(), this);
    if (loaded_) {
        host_.FormUnloaded(*this);
    }
}

Control& Form::Add(std::string name, ControlType type, Control* container, int index) {
    controls_.push_back(std::make_unique<Control>(*this, std::move(name), index, type, container));
    Control& control = *controls_.back();
    if (loaded_) {
        host_.ControlAdded(control);
    }
    return control;
}

Control* Form::Find(std::string_view name, int index) const {
    for (const auto& control : controls_) {
        if (control->Name() == name && control->Index() == index) {
            return control.get();
        }
    }
    return nullptr;
}

Control& Form::Get(std::string_view name, int index) const {
    if (Control* control = Find(name, index)) {
        return *control;
    }
    throw std::out_of_range(name_ + " has no control " + std::string(name) + "(" + std::to_string(index) +
                            ")");
}

std::vector<Control*> Form::Array(std::string_view name) const {
    std::vector<Control*> members;
    for (const auto& control : controls_) {
        if (control->Name() == name) {
            members.push_back(control.get());
        }
    }
    return members;
}

bool Form::HasMenuBar() const {
    for (const auto& control : controls_) {
        if (control->Type() == ControlType::Menu && !control->Container() && control->Visible()) {
            return true;
        }
    }
    return false;
}

void Form::SetCaption(std::string caption) {
    caption_ = std::move(caption);
    FormChanged(FormChange::Caption);
}

void Form::Move(int left, int top, int width, int height) {
    bounds_ = {left, top, width, height};
    FormChanged(FormChange::Position);
    Resized();
}

void Form::SetState(WindowState state) {
    if (state_ != state) {
        state_ = state;
        FormChanged(FormChange::State);
        Resized();
    }
}

void Form::SetStyle(const FormStyle& style) {
    if (loaded_) {
        throw std::logic_error(name_ + ": the window style is set before the form loads");
    }
    style_ = style;
}

void Form::SetShowInTaskList(bool show) {
    showInTaskList_ = show;
    FormChanged(FormChange::TaskList);
}

void Form::ResetRegion() {
    ++regionResets_;
    FormChanged(FormChange::Region);
}

void Form::SetIconResource(std::string name) {
    iconResource_ = std::move(name);
    FormChanged(FormChange::Icon);
}

void Form::SetBusyPointer(bool busy) {
    if (busyPointer_ != busy) {
        busyPointer_ = busy;
        FormChanged(FormChange::Pointer);
    }
}

void Form::Load() {
    if (loaded_) {
        return;
    }
    loaded_ = true;
    loading_ = true;
    hiddenWhileLoading_ = false;
    host_.FormLoaded(*this);
    if (onLoad) {
        onLoad();
    }
    loading_ = false;
}

void Form::Show(bool modal) {
    const bool wasLoaded = loaded_;
    Load();
    if (!loaded_) {
        return; // the load handler unloaded the form
    }
    if (!wasLoaded && hiddenWhileLoading_) {
        return; // the load handler chose to stay hidden (sent to the tray)
    }
    visible_ = true;
    modal_ = modal;
    FormChanged(FormChange::Visible);
    // A window gets its first size when it first shows.
    Resized();
    host_.ShowForm(*this, modal);
    modal_ = false;
}

void Form::Hide() {
    if (loading_) {
        hiddenWhileLoading_ = true;
    }
    if (visible_) {
        visible_ = false;
        FormChanged(FormChange::Visible);
    }
}

void Form::RequestClose() {
    if (onCloseRequest && !onCloseRequest()) {
        return;
    }
    Unload();
}

void Form::Unload() {
    if (!loaded_) {
        return;
    }
    if (onUnload) {
        onUnload();
    }
    visible_ = false;
    loaded_ = false;
    host_.FormUnloaded(*this);
}

void Form::Resized() {
    if (onResize) {
        onResize();
    }
}

void Form::SetFromWindow(const Bounds& bounds, WindowState state, const Size& inside) {
    const bool resized = bounds.width != bounds_.width || bounds.height != bounds_.height ||
                         state != state_ || inside.width != inside_.width || inside.height != inside_.height;
    bounds_ = bounds;
    state_ = state;
    inside_ = inside;
    if (resized) {
        Resized();
    }
}

void Form::ControlChanged(Control& control, Change change) {
    if (loaded_) {
        host_.ControlChanged(control, change);
    }
}

void Form::RowsChanged(Control& list, const RowChange& change) {
    if (loaded_) {
        host_.ListRowsChanged(list, change);
    }
}

void Form::FormChanged(FormChange change) {
    if (loaded_) {
        host_.FormChanged(*this, change);
    }
}

void CentreOver(Form& form, const Form& owner) {
    const Bounds& over = owner.Position();
    const Bounds own = form.Position();
    form.Move(over.left + (over.width - own.width) / 2, over.top + (over.height - own.height) / 2, own.width,
              own.height);
}

void CentreOnScreen(Form& form) {
    IUiHost& host = form.Host();
    const ScreenRect desktop = host.DesktopRect();
    const Bounds own = form.Position();
    const int left = static_cast<int>((desktop.right - desktop.left) * host.TwipsPerPixelX() - own.width) / 2;
    const int top = static_cast<int>((desktop.bottom - desktop.top) * host.TwipsPerPixelY() - own.height) / 2;
    form.Move(std::max(left, 0), std::max(top, 0), own.width, own.height);
}

} // namespace grimsweep::ui
