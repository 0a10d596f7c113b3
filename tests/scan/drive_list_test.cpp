#include "scan/drive_list.h"

#include <gtest/gtest.h>

#include "app/main_window_controls.h"
#include "app/main_window_fixture.h"

namespace grimsweep {
namespace {

std::vector<std::string> RowTexts(const ui::Control& list) {
    std::vector<std::string> texts;
    for (const auto& row : list.Rows()) {
        texts.push_back(row.text);
    }
    return texts;
}

class DriveListTest : public MainWindowTest {};

TEST_F(DriveListTest, OnlyFixedDrivesAreAskedWhetherTheyAreReady) {
    sim.files.AddDrive("A", DriveType::Removable, false);
    sim.files.AddDrive("D", DriveType::CdRom, false);
    sim.files.AddDrive("E", DriveType::Fixed, false); // an empty card reader that reports itself fixed
    sim.files.AddDrive("N", DriveType::Network, false);
    sim.files.AddDrive("R", DriveType::RamDisk, true);
    sim.files.AddDrive("U", DriveType::Unknown, true);
    context->settings.Write(settings::kSectionDrives, "D", "False");
    Open();

    EXPECT_EQ(RowTexts(Control(kDriveList)), (std::vector<std::string>{"C", "A", "D", "N"}));
    EXPECT_EQ(sim.files.VolumeQueries("C"), 1);
    EXPECT_EQ(sim.files.VolumeQueries("E"), 1);
    for (const char* letter : {"A", "D", "N", "R", "U"}) {
        EXPECT_EQ(sim.files.VolumeQueries(letter), 0) << letter;
    }
    // The stored choices are applied to the rows; a drive seen for the first time is ticked.
    for (const auto& row : Control(kDriveList).Rows()) {
        EXPECT_EQ(row.checked, row.text != "D") << row.text;
    }
}

TEST_F(DriveListTest, EachDriveLetsWindowMessagesRunOnce) {
    sim.files.AddDrive("Z", DriveType::Fixed, true);
    ui::Form form(*host, "frmTest");
    ui::Control& list = form.Add(std::string(kDriveList), ui::ControlType::ListView);
    const int before = host->pumps;
    ListDrives(sim.files, *host, list);
    EXPECT_EQ(host->pumps - before, 2);
    EXPECT_EQ(RowTexts(list), (std::vector<std::string>{"C", "Z"}));
}

} // namespace
} // namespace grimsweep
