// The drive list of the scan options (lvwHardDrives): one checkable row per drive, filled once at
// start-up, its text the drive letter.
#pragma once

#include "platform/file_system.h"

namespace grimsweep {

class IUiHost;
class SettingsStore;
namespace ui {
class Control;
}

// Removable, network and CD-ROM drives are listed whatever is in them; fixed drives only when ready;
// RAM disks and drives of unknown kind never. Only a fixed drive is asked whether it is ready: the
// volume query can stall for seconds on an empty floppy or CD drive or an unreachable network drive.
bool IsListedDrive(IFileSystem& files, const DriveInfo& drive);

// Adds a row for every listed drive in the system's order, letting window messages run once per drive.
void ListDrives(IFileSystem& files, IUiHost& host, ui::Control& driveList);

// Stores every row's check mark, "True" or "False" under section "Drives", key the drive letter: all
// rows, whichever one changed. A row whose state cannot be stored is skipped.
void SaveDriveSelection(SettingsStore& settings, const ui::Control& driveList);

} // namespace grimsweep
