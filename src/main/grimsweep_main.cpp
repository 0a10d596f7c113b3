// grimsweep.exe: wires the real machine and the Win32 host into the program object, shows the splash,
// which hands over to the main window, and runs the message loop until the program ends.
#include "platform/win32/windows_api.h"

#include <exception>
#include <string>

#include "app/main_window.h"
#include "app/splash.h"
#include "core/brand_values.h"
#include "core/context.h"
#include "platform/win32/win32_machine.h"
#include "platform/win32/win32_ui_host.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    using namespace grimsweep;
    win32::Win32Machine machine;
    win32::Win32UiHost host{std::string(kWindowIconResource)};
    Context context(machine.View(), host);
    MainWindow mainWindow(context);
    Splash splash(context, mainWindow);
    try {
        splash.Show();
        return host.Run();
    } catch (const std::exception&) {
        // A failure in the first load steps ends the program, as a failed start.
        return 1;
    }
}
