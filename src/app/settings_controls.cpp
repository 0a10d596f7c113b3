// The option controls of the main window and the settings they mirror: the start-up copy into the
// controls and the handlers that write each key back the moment its control changes.
#include <functional>
#include <string>
#include <utility>

#include "app/main_window.h"
#include "app/main_window_controls.h"
#include "common/attempt.h"
#include "core/run_at_startup.h"
#include "core/settings_keys.h"
#include "definitions/definition_status.h"
#include "removal/elevated_removal.h"
#include "scan/drive_list.h"
#include "update/service_addresses.h"

namespace grimsweep {

namespace {

using namespace settings;

bool Ticked(const ui::Control& control) {
    return control.Value() == 1;
}
bool Selected(const ui::Control& control) {
    return control.Value() != 0;
}

constexpr std::string_view kMsgAdminRunAtLogon = "MSG_ADMIN_RUN";
constexpr std::string_view kMsgRunAtLogonStays = "MSG_ADMIN_RUN_STAYS";

// The machine's Run value, which the installer writes for every user, goes only with an administrator's
// rights: asks once to remove it as administrator. True when no Run value is left.
bool RemoveRunValueAsAdministrator(Context& context, const std::string& executable) {
    IShell& shell = context.machine.shell;
    const MessageCatalogue& messages = context.messages;
    if (!shell.RunsElevated() &&
        context.host.ShowMessageBox({messages.getMessages(kMsgAdminRunAtLogon), context.brand.programName,
                                     MessageBoxButtons::YesNo, MessageBoxIcon::Question}) ==
            MessageBoxAnswer::Yes) {
        shell.RunAsAdministrator(context.ApplicationFile(kConsoleProgramName),
                                 std::string(kRunAtLogonCommand) + " off",
                                 [&context] { context.host.PumpMessages(); });
    }
    if (!RunAtStartupPresent(context.machine.registry, executable)) {
        return true;
    }
    context.host.ShowMessageBox({messages.getMessages(kMsgRunAtLogonStays), context.brand.programName,
                                 MessageBoxButtons::Ok, MessageBoxIcon::Information});
    return false;
}

} // namespace

void MainWindow::ShowLastUpdate() {
    Control("lblLastUpdate")
        .SetCaption(
            context_.Message("MSG_LAST_UPDATE") + " " +
            ReadDefinitionsDate(context_.machine.files, context_.machine.system, context_.dataFolder) +
            std::string(kPst));
}

void MainWindow::ApplySettingsToControls() {
    // Each control is one step: a control whose handler fails leaves the ones after it unharmed.
    SettingsStore& store = context_.settings;
    auto check = [&](std::string_view name, std::string_view section, std::string_view defaultValue) {
        Attempt([&] { Control(name).SetValue(store.ReadNumber(section, name, defaultValue)); });
    };
    auto option = [&](std::string_view name, std::string_view defaultValue) {
        Attempt(
            [&] { Control(name).SetValue(store.ReadTruth(kSectionOptions, name, defaultValue) ? 1 : 0); });
    };
    auto follow = [&](std::string_view name, std::string_view leader) {
        Attempt([&] { Control(name).SetValue(Selected(Control(leader)) ? 1 : 0); });
    };

    Attempt([&] { store.Write(kSectionOptions, kShow, kTrue); });
    option(kHomePageShieldOn, kHomePageShieldOnDefault);
    follow("chkHomePage", kHomePageShieldOn);
    check(kMakeLog, kSectionOptions, kMakeLogDefault);
    option(kHomePageShieldOff, kHomePageShieldOffDefault);
    option(kAskBeforeRestoring, kAskBeforeRestoringDefault);
    option(kRestoreSilently, kRestoreSilentlyDefault);
    option(kMemoryShieldOn, kMemoryShieldOnDefault);
    follow("chkAutoProtect", kMemoryShieldOn);
    option(kMemoryShieldOff, kMemoryShieldOffDefault);
    check(kSweepMemory, kSectionOptions, kSweepMemoryDefault);
    check(kScanRegistry, kSectionOptions, kScanRegistryDefault);
    // Every start begins with Quick Scan selected, whatever was chosen before.
    option(kScanAllDrives, kScanAllDrivesDefault);
    Attempt([&] { Control(kScanKnownOnly).SetValue(1); });
    check(kRunAtStartup, kSectionOptions, kRunAtStartupControlDefault);
    // Before the user ever chose, the box shows whether the program starts at logon (the installer may
    // have set it up for every user).
    Attempt([&] {
        if (store.Read(kSectionOptions, kRunAtStartup, "").empty() &&
            RunAtStartupPresent(context_.machine.registry, context_.machine.system.OwnExecutablePath())) {
            Control(kRunAtStartup).SetValue(1);
        }
    });
    check(kSweepMemory, kSectionOptions, kSweepMemoryDefault);
    check(kScanRegistry, kSectionOptions, kScanRegistryDefault);
    check(kScanCookies, kSectionOptions, kScanCookiesDefault);
    check(kSendData, kSectionOptions, kSendDataDefault);
    Attempt([&] { ShowLastUpdate(); });
    Attempt(
        [&] { Control("lblUnverified").SetVisible(ReadServiceAddresses(context_).definitionKey.empty()); });
    Attempt([&] { scheduler_->LoadSchedule(); });
    check(kAutomaticUpdate, kSectionOptions, kAutomaticUpdateControlDefault);
    Attempt([&] {
        // Restoring the ticks row by row must not store the selection on each change: the rows not yet
        // restored would be stored unticked over the user's choice.
        ui::Control& drives = Control(kDriveList);
        struct HandlerBack {
            ui::Control& drives;
            std::function<void(std::size_t)> handler;
            ~HandlerBack() { drives.onItemCheck = std::move(handler); }
        } back{drives, std::exchange(drives.onItemCheck, nullptr)};
        for (std::size_t row = 0; row < drives.Rows().size(); ++row) {
            drives.SetRowChecked(
                row, store.ReadTruth(kSectionDrives, drives.Rows()[row].text, kDriveSelectedDefault));
        }
    });
    Attempt([&] {
        ui::Control& removal = Control(kRemovalList);
        for (std::size_t column = 0; column < removal.Columns().size(); ++column) {
            removal.SetColumnWidth(
                column, store.ReadNumber(kSectionSettings,
                                         std::string(kFoundColumnPrefix) + std::to_string(column + 1),
                                         kFoundColumnDefault));
        }
    });
    Attempt([&] {
        if (store.Read(kSectionSettings, kMax, kMaxDefault) == "1") {
            form_.SetState(ui::WindowState::Maximized);
        }
    });
}

void MainWindow::WireOptionHandlers() {
    SettingsStore& store = context_.settings;
    // chkSendData asks before turning off: WireDataSubmission.
    for (std::string_view name : {kMakeLog, kSweepMemory, kScanRegistry, kScanCookies, kAutomaticUpdate}) {
        Control(name).onClick = [this, &store, name] {
            store.WriteCheck(kSectionOptions, name, Control(name).Value());
        };
    }

    // Memory shield.
    auto memoryShield = [this, &store](bool on) {
        store.WriteTruth(kSectionOptions, kMemoryShieldOn, on);
        store.WriteTruth(kSectionOptions, kMemoryShieldOff, !on);
        Control("tmrMemoryInspected").SetEnabled(on);
    };
    Control("chkAutoProtect").onClick = [this, memoryShield] {
        memoryShield(Ticked(Control("chkAutoProtect")));
    };
    for (std::string_view name : {kMemoryShieldOn, kMemoryShieldOff}) {
        Control(name).onClick = [this, &store] {
            const bool on = Selected(Control(kMemoryShieldOn));
            store.WriteTruth(kSectionOptions, kMemoryShieldOn, on);
            store.WriteTruth(kSectionOptions, kMemoryShieldOff, Selected(Control(kMemoryShieldOff)));
            Control("tmrMemoryInspected").SetEnabled(on);
        };
    }

    // Start-page shield: its timer and the two choices follow it.
    auto homePageShield = [this](bool on) {
        Control("tmrCheckHomePage").SetEnabled(on);
        Control(kAskBeforeRestoring).SetEnabled(on);
        Control(kRestoreSilently).SetEnabled(on);
    };
    Control("chkHomePage").onClick = [this, &store, homePageShield] {
        const bool on = Ticked(Control("chkHomePage"));
        store.WriteTruth(kSectionOptions, kHomePageShieldOn, on);
        store.WriteTruth(kSectionOptions, kHomePageShieldOff, !on);
        homePageShield(on);
    };
    for (std::string_view name : {kHomePageShieldOn, kHomePageShieldOff}) {
        Control(name).onClick = [this, &store, homePageShield] {
            const bool on = Selected(Control(kHomePageShieldOn));
            store.WriteTruth(kSectionOptions, kHomePageShieldOn, on);
            store.WriteTruth(kSectionOptions, kHomePageShieldOff, Selected(Control(kHomePageShieldOff)));
            homePageShield(on);
        };
    }
    for (std::string_view name : {kAskBeforeRestoring, kRestoreSilently}) {
        Control(name).onClick = [this, &store] {
            store.WriteTruth(kSectionOptions, kAskBeforeRestoring, Selected(Control(kAskBeforeRestoring)));
            store.WriteTruth(kSectionOptions, kRestoreSilently, Selected(Control(kRestoreSilently)));
        };
    }

    // Scan type: the drive list shows only for a complete scan.
    for (std::string_view name : {kScanKnownOnly, kScanAllDrives}) {
        Control(name).onClick = [this, &store] {
            store.WriteTruth(kSectionOptions, kScanKnownOnly, Selected(Control(kScanKnownOnly)));
            store.WriteTruth(kSectionOptions, kScanAllDrives, Selected(Control(kScanAllDrives)));
            Control(kDriveList).SetVisible(Selected(Control(kScanAllDrives)));
        };
    }

    Control(kRunAtStartup).onClick = [this, &store] {
        store.WriteCheck(kSectionOptions, kRunAtStartup, Control(kRunAtStartup).Value());
        IRegistry& registry = context_.machine.registry;
        const std::string executable = context_.machine.system.OwnExecutablePath();
        if (store.ReadNumber(kSectionOptions, kRunAtStartup, kRunAtStartupHandlerDefault) == 1) {
            // Neither Run key takes the value: the box does not claim what is not so.
            if (!WriteRunAtStartup(registry, executable)) {
                Control(kRunAtStartup).SetValue(0);
                store.WriteCheck(kSectionOptions, kRunAtStartup, 0);
            }
        } else if (!RemoveRunAtStartup(registry, executable) &&
                   !RemoveRunValueAsAdministrator(context_, executable)) {
            // It still starts at logon: the box says so.
            Control(kRunAtStartup).SetValue(1);
            store.WriteCheck(kSectionOptions, kRunAtStartup, 1);
        }
    };

    // Every row's state is stored again whenever any row's check mark changes.
    Control(kDriveList).onItemCheck = [this, &store](std::size_t) {
        SaveDriveSelection(store, Control(kDriveList));
    };
}

} // namespace grimsweep
