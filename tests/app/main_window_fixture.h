// A simulated machine, the headless host and a program with its main window, for the window tests.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "app/main_window.h"
#include "core/settings_keys.h"
#include "platform/sim/sim_machine.h"
#include "ui/headless_host.h"

namespace grimsweep {

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() { Start(); }

    // A fresh program on the same machine, as the next start of the process.
    void Start() {
        window.reset();
        context.reset();
        host = std::make_unique<HeadlessHost>();
        context = std::make_unique<Context>(sim.View(), *host);
        window = std::make_unique<MainWindow>(*context);
    }
    // Loads and shows the main window, answering the first-run question with No.
    void Open() {
        host->Answer(MessageBoxAnswer::No);
        window->Window().Show();
    }
    ui::Control& Control(std::string_view name, int index = -1) { return window->Window().Get(name, index); }
    bool TimerOn(std::string_view name) { return Control(name).Enabled(); }
    std::string Setting(std::string_view section, std::string_view key) {
        return context->settings.Read(section, key, "<unset>");
    }
    // The process has ended: its single-instance lock is free again.
    void ReleaseInstanceLock() { sim.system.ownLocks.clear(); }

    sim::SimMachine sim;
    std::unique_ptr<HeadlessHost> host;
    std::unique_ptr<Context> context;
    std::unique_ptr<MainWindow> window;
};

} // namespace grimsweep
