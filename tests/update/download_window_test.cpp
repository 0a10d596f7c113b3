// The download window's own tray icon: a double-click brings the window back while the program sits in the
// notification area, at every DPI (the click arrives as a position in twips, which the DPI scales).
#include "update/download_window.h"

#include <gtest/gtest.h>

#include "core/context.h"
#include "platform/sim/sim_machine.h"
#include "shell/skin.h"
#include "ui/headless_host.h"

namespace grimsweep {
namespace {

TEST(DownloadWindowTest, ATrayDoubleClickShowsTheWindowAtEveryDpiAndNothingElseDoes) {
    for (const double twipsPerPixel : {15.0, 12.0, 10.0}) {
        SCOPED_TRACE(twipsPerPixel);
        sim::SimMachine sim;
        HeadlessHost host;
        host.twipsPerPixel = twipsPerPixel;
        Context context(sim.View(), host);
        Skin skin;
        TrayIcon mainTray(sim.shell);
        mainTray.bRunningInTray = true;
        DownloadWindow window(context, skin, mainTray);
        window.Window().Load();
        window.Window().Hide();

        const auto at = [&](int message) { return static_cast<int>(message * twipsPerPixel); };
        window.Window().onMouseMove(at(kTrayLeftDown));
        window.Window().onMouseMove(at(kTrayRightDoubleClick));
        EXPECT_FALSE(window.Window().Visible());
        window.Window().onMouseMove(at(kTrayLeftDoubleClick));
        EXPECT_TRUE(window.Window().Visible());
    }
}

} // namespace
} // namespace grimsweep
