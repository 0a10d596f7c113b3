#include "scan/drive_list.h"

#include "common/attempt.h"
#include "core/settings_keys.h"
#include "core/settings_store.h"
#include "ui/control.h"
#include "ui/ui_host.h"

namespace grimsweep {

bool IsListedDrive(IFileSystem& files, const DriveInfo& drive) {
    switch (drive.type) {
    case DriveType::Removable:
    case DriveType::Network:
    case DriveType::CdRom:
        return true;
    case DriveType::Fixed:
        return files.IsDriveReady(drive.letter);
    case DriveType::Unknown:
    case DriveType::RamDisk:
        return false;
    }
    return false;
}

void ListDrives(IFileSystem& files, IUiHost& host, ui::Control& driveList) {
    for (const auto& drive : files.ListDrives()) {
        if (IsListedDrive(files, drive)) {
            ui::ListRow row;
            row.text = drive.letter;
            driveList.AddRow(std::move(row));
        }
        host.PumpMessages();
    }
}

void SaveDriveSelection(SettingsStore& settings, const ui::Control& driveList) {
    for (const auto& row : driveList.Rows()) {
        Attempt([&] { settings.WriteTruth(settings::kSectionDrives, row.text, row.checked); });
    }
}

} // namespace grimsweep
