#include "shields/start_page_shield.h"

#include "core/context.h"
#include "core/settings_keys.h"
#include "shields/registry_text.h"

namespace grimsweep {

using namespace settings;

StartPageShield::StartPageShield(Context& context, const Skin& skin, ui::Form& owner)
    : context_(context), owner_(owner), alert_(context, skin) {
    alert_.onYes = [this] { RestoreStartPage(); };
    alert_.onNo = [this] { AcceptStartPage(); };
}

void StartPageShield::Tick() {
    // A long task has switched the timers off and switches them on at its end; a tick that slipped in
    // (the shield switched on during a scan) must not switch them on in the middle of it.
    if (hooks.longTaskRunning && hooks.longTaskRunning()) {
        return;
    }
    // A tick that gets through while the alert waits (something re-armed the timers) changes nothing.
    if (ticking_) {
        return;
    }
    ticking_ = true;
    struct TickEnd {
        bool& ticking;
        ~TickEnd() { ticking = false; }
    } end{ticking_};
    if (++tickCount_ >= 3) {
        tickCount_ = 0;
        if (hooks.memoryTick) {
            hooks.memoryTick();
        }
    }
    // Off for the whole check, the time the alert waits for its answer included, so no tick re-enters.
    SetBackgroundTimers(false);
    Check();
    SetBackgroundTimers(true);
}

void StartPageShield::Check() {
    ui::Control* timer = owner_.Find(kStartPageTimer);
    if (timer) {
        timer->SetEnabled(false);
    }
    SettingsStore& store = context_.settings;
    if (!store.ReadTruth(kSectionOptions, kHomePageShieldOn, kHomePageShieldOnDefault)) {
        return;
    }
    // A page that cannot be read is no change: nothing is asked, written or stored until it can. A missing
    // one is an empty page, which differs from any protected page.
    std::string current(kBlankPage);
    if (ReadRegistryString(context_.machine.registry, RegistryRoot::CurrentUser, std::string(kStartPageKey),
                           std::string(kStartPageValue), current) == RegistryTextRead::Unreadable) {
        return;
    }
    currentStartPage_ = std::move(current);
    // The user kept an empty page with No: nothing more is asked until the page changes.
    if (emptyPageKept_ && currentStartPage_.empty()) {
        return;
    }
    emptyPageKept_ = false;
    protectedStartPage_ = store.Read(kSectionOptions, kHomepage, kHomepageDefault);
    if (protectedStartPage_.empty() && !currentStartPage_.empty()) {
        // First run: whatever page is set is accepted.
        protectedStartPage_ = currentStartPage_;
        store.Write(kSectionOptions, kHomepage, protectedStartPage_);
    }
    if (protectedStartPage_ == currentStartPage_) {
        return;
    }
    if (store.ReadTruth(kSectionOptions, kAskBeforeRestoring, kAskBeforeRestoringDefault)) {
        alert_.Ask(StartPageQuestion(context_.brand.programName, protectedStartPage_, currentStartPage_));
    } else if (store.ReadTruth(kSectionOptions, kRestoreSilently, kRestoreSilentlyDefault)) {
        RestoreStartPage();
    }
}

void StartPageShield::RestoreStartPage() {
    // An empty protected page would make the next tick accept whatever page is set.
    if (protectedStartPage_.empty()) {
        return;
    }
    context_.settings.Write(kSectionOptions, kHomepage, protectedStartPage_);
    WriteRegistryValue(context_.machine.registry, std::string(kStartPageKey), std::string(kStartPageValue),
                       protectedStartPage_, RegistryValueType::String);
}

void StartPageShield::AcceptStartPage() {
    // An empty page is not stored: the next tick would take any page as a first run's and accept it.
    if (currentStartPage_.empty()) {
        emptyPageKept_ = true;
        return;
    }
    context_.settings.Write(kSectionOptions, kHomepage, currentStartPage_);
}

void StartPageShield::SetBackgroundTimers(bool on) {
    if (hooks.setBackgroundTimers) {
        hooks.setBackgroundTimers(on);
    }
}

} // namespace grimsweep
