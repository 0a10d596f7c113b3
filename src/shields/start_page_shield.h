// The start-page shield: every tick of the main window's tmrCheckHomePage compares the browser's start
// page with the protected page kept in the settings (Homepage) and, when they differ, asks the user which
// to keep or writes the protected page back silently, as the options say. Every third tick first runs
// the memory shield's tick.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "shell/skin.h"
#include "shields/start_page_alert.h"
#include "ui/form.h"

namespace grimsweep {

class Context;

// Where the browser keeps its start page, under HKEY_CURRENT_USER.
inline constexpr std::string_view kStartPageKey = "Software\\Microsoft\\Internet Explorer\\Main";
inline constexpr std::string_view kStartPageValue = "Start Page";
inline constexpr std::string_view kStartPageTimer = "tmrCheckHomePage";
// The page a tick assumes before it reads the registry: a value of a type that is not text stays it.
inline constexpr std::string_view kBlankPage = "about:blank";

// What the shield needs from the window that owns it.
struct StartPageShieldHooks {
    // Switches the background timers off, or back on as the settings say.
    std::function<void(bool on)> setBackgroundTimers;
    // The memory shield's tick, run on every third tick.
    std::function<void()> memoryTick;
    // True while a scan, a removal or an update runs: the shield then leaves everything alone.
    std::function<bool()> longTaskRunning;
};

class StartPageShield {
public:
    // `owner` is the main window, which holds the shield's timer.
    StartPageShield(Context& context, const Skin& skin, ui::Form& owner);

    // One tick of tmrCheckHomePage.
    void Tick();
    // Stores the protected page under Homepage and writes it back as the browser's start page.
    void RestoreStartPage();
    // Makes the current start page the protected one; the registry is not touched.
    void AcceptStartPage();

    std::uint16_t TickCount() const { return tickCount_; }
    // The start page the last tick read.
    const std::string& CurrentStartPage() const { return currentStartPage_; }
    StartPageAlert& Alert() { return alert_; }

    StartPageShieldHooks hooks;

private:
    void Check();
    void SetBackgroundTimers(bool on);

    Context& context_;
    ui::Form& owner_;
    StartPageAlert alert_;
    std::uint16_t tickCount_ = 0;
    bool ticking_ = false;
    std::string currentStartPage_;
    bool emptyPageKept_ = false; // No was answered for a missing or empty page
    std::string protectedStartPage_;
};

} // namespace grimsweep
