// The controls of the main window FrmMain: navigation buttons, the four panels, the Options tab pages,
// menus (two of them hidden), the timer container with the hidden removal lists, and the timers.
#pragma once

#include <string_view>

#include "ui/form.h"

namespace grimsweep {

inline constexpr std::string_view kMainWindowName = "FrmMain";
inline constexpr std::string_view kMainWindowInitialCaption = "Adware and Spyware Remover";

// Panels, in the order of the navigation buttons that show them.
inline constexpr std::string_view kStatusPanel = "frmStatus";
inline constexpr std::string_view kScanPanel = "frmScan";
inline constexpr std::string_view kResultsPanel = "frmResults";
inline constexpr std::string_view kOptionsPanel = "frmOptions";
inline constexpr std::string_view kOptionsPage = "frmView"; // index 0..3, one per tab
inline constexpr std::string_view kTabStrip = "TabStrip1";
inline constexpr std::string_view kTimerContainer = "fraTimers";
inline constexpr std::string_view kRemovalList = "lvwPicRemoveListOfSpywareFoundAndToBeRemoved";
inline constexpr std::string_view kDriveList = "lvwHardDrives";
inline constexpr std::string_view kSettingsMenuItem = "mnuSettingsItem"; // index 0..3

// Twips: the navigation column and the panel area beside it.
inline constexpr int kNavigationLeft = 120;
inline constexpr int kNavigationWidth = 1800;
inline constexpr int kPanelGap = 120;
inline constexpr int kMargin = 240;

// Adds every control of the main window to an empty form, with its design-time state.
void BuildMainWindowControls(ui::Form& form);

} // namespace grimsweep
