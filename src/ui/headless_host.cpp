#include "ui/headless_host.h"

#include <algorithm>
#include <stdexcept>

namespace grimsweep {

namespace {

MessageBoxAnswer FirstButton(MessageBoxButtons buttons) {
    switch (buttons) {
    case MessageBoxButtons::YesNo:
        return MessageBoxAnswer::Yes;
    case MessageBoxButtons::AbortRetryIgnore:
        return MessageBoxAnswer::Abort;
    case MessageBoxButtons::Ok:
        break;
    }
    return MessageBoxAnswer::Ok;
}

} // namespace

std::optional<std::string> HeadlessHost::ChooseFileToOpen(ui::Form&) {
    ++fileDialogsShown;
    if (fileDialogAnswers.empty()) {
        return std::nullopt;
    }
    std::optional<std::string> answer = std::move(fileDialogAnswers.front());
    fileDialogAnswers.pop_front();
    return answer;
}

MessageBoxAnswer HeadlessHost::ShowMessageBox(const MessageBoxRequest& request) {
    shown_.push_back(request);
    if (onMessageBox) {
        onMessageBox(request);
    }
    if (answers_.empty()) {
        return FirstButton(request.buttons);
    }
    const MessageBoxAnswer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

void HeadlessHost::PumpMessages() {
    ++pumps;
    if (onPump) {
        onPump();
    }
}

void HeadlessHost::FormLoaded(ui::Form& form) {
    forms_.push_back(&form);
    Measure(form);
    for (const auto& control : form.Controls()) {
        if (control->Type() == ui::ControlType::Timer) {
            Arm(*control);
        }
    }
}

void HeadlessHost::FormUnloaded(ui::Form& form) {
    std::erase(forms_, &form);
    std::erase_if(due_, [&](const auto& entry) { return &entry.first->Owner() == &form; });
}

void HeadlessHost::ShowForm(ui::Form& form, bool modal) {
    if (!modal) {
        return;
    }
    if (onModal) {
        onModal(form);
    }
    form.Hide();
}

void HeadlessHost::FormChanged(ui::Form& form, ui::FormChange change) {
    if (change == ui::FormChange::Pointer) {
        pointerChanges.push_back({form.Name(), form.BusyPointer()});
    }
    Measure(form);
}

void HeadlessHost::ControlAdded(ui::Control& control) {
    if (control.Type() == ui::ControlType::Timer) {
        Arm(control);
    } else if (control.Type() == ui::ControlType::Menu) {
        Measure(control.Owner());
    }
}

void HeadlessHost::ControlChanged(ui::Control& control, ui::Change change) {
    if (control.Type() == ui::ControlType::Timer && change == ui::Change::Timer) {
        Arm(control);
    } else if (control.Type() == ui::ControlType::Menu) {
        Measure(control.Owner());
    }
}

void HeadlessHost::Measure(ui::Form& form) {
    const ui::Bounds& outside = form.Position();
    const bool framed = !form.Style().borderless;
    form.SetInsideSize(
        {outside.width - (framed ? kFrameWidth : 0),
         outside.height - (framed ? kFrameHeight : 0) - (form.HasMenuBar() ? kMenuBarHeight : 0)});
}

void HeadlessHost::LockDrawing(ui::Form&, bool locked) {
    drawingLocks += locked ? 1 : -1;
}

void HeadlessHost::Arm(ui::Control& timer) {
    if (timer.Enabled() && timer.Interval() > 0) {
        due_[&timer] = now_ + static_cast<std::uint64_t>(timer.Interval());
    } else {
        due_.erase(&timer);
    }
}

ui::Form* HeadlessHost::FindForm(std::string_view name) const {
    auto it = std::find_if(forms_.begin(), forms_.end(), [&](ui::Form* f) { return f->Name() == name; });
    return it == forms_.end() ? nullptr : *it;
}

std::map<ui::Control*, std::uint64_t>::iterator HeadlessHost::NextDue() {
    return std::min_element(due_.begin(), due_.end(),
                            [](const auto& a, const auto& b) { return a.second < b.second; });
}

void HeadlessHost::Advance(std::uint64_t milliseconds) {
    const std::uint64_t end = now_ + milliseconds;
    for (auto next = NextDue(); next != due_.end() && next->second <= end; next = NextDue()) {
        ui::Control* timer = next->first;
        now_ = std::max(now_, next->second);
        // The next tick is planned before this one runs: a tick that stops or re-arms its own timer
        // replaces the plan.
        next->second += static_cast<std::uint64_t>(timer->Interval());
        timer->Tick();
    }
    // A tick that advanced the clock past `end` leaves it there.
    now_ = std::max(now_, end);
}

bool HeadlessHost::WaitForMessage() {
    ++waits;
    if (quitRequested) {
        return false;
    }
    const auto next = NextDue();
    if (next != due_.end()) {
        Advance(next->second > now_ ? next->second - now_ : 0);
    } else if (!onPump) {
        throw std::logic_error("WaitForMessage with no timer armed and no pump hook would never return");
    }
    PumpMessages();
    return !quitRequested;
}

} // namespace grimsweep
